// The keys of the library and the load list, pressed once and held down.
#include "window/frmKivo.h"

#include "DrivenClock.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <chrono>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

class frmKivoKeysTest : public QObject, private WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void keys_data();
    void keys();
    void heldKeyActsOnce_data();
    void heldKeyActsOnce();
};

namespace {
enum class KeyEffect { LibraryRowRemoved, LocationEmptied, FocusToLoadList, FocusToLibrary, Nothing };
}
Q_DECLARE_METATYPE(KeyEffect)

void frmKivoKeysTest::keys_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<KeyEffect>("effect");

    const QString library = u"objLibrary"_s;
    const QString loadList = u"objLoadList"_s;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTest::newRow("library Delete") << library << int(Qt::Key_Delete) << none << KeyEffect::LibraryRowRemoved;
    QTest::newRow("library Backspace") << library << int(Qt::Key_Backspace) << none << KeyEffect::LibraryRowRemoved;
    QTest::newRow("library Shift+Delete")
        << library << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ShiftModifier) << KeyEffect::LibraryRowRemoved;
    QTest::newRow("library Right") << library << int(Qt::Key_Right) << none << KeyEffect::FocusToLoadList;
    QTest::newRow("library Left") << library << int(Qt::Key_Left) << none << KeyEffect::Nothing;
    QTest::newRow("library letter") << library << int(Qt::Key_X) << none << KeyEffect::Nothing;
    QTest::newRow("load list Delete") << loadList << int(Qt::Key_Delete) << none << KeyEffect::LocationEmptied;
    QTest::newRow("load list Backspace") << loadList << int(Qt::Key_Backspace) << none << KeyEffect::LocationEmptied;
    QTest::newRow("load list Left") << loadList << int(Qt::Key_Left) << none << KeyEffect::FocusToLibrary;
    QTest::newRow("load list Right") << loadList << int(Qt::Key_Right) << none << KeyEffect::Nothing;
}

void frmKivoKeysTest::keys()
{
    QFETCH(QString, list);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(KeyEffect, effect);

    test::DrivenClock clock;
    prepareDataFolder({u"Alpha"_s, u"Bravo"_s, u"Charlie"_s}, {{u"First"_s, {u"Alpha"_s, QString(), u"Bravo"_s}}});
    QVERIFY(start());
    activate();
    auto &library = control<QListWidget>(u"objLibrary"_s);
    auto &loadList = control<QListWidget>(u"objLoadList"_s);
    library.setCurrentRow(1);
    loadList.setCurrentRow(2);
    auto &target = control<QListWidget>(list);
    target.setFocus();
    QVERIFY(target.hasFocus());

    QTest::keyClick(&target, static_cast<Qt::Key>(key), modifiers);

    // A key that removes acts a moment after its release, once it is clear that the
    // key is not held.
    clock.advance(std::chrono::seconds(1));
    QCOMPARE(m_library->getCount(), effect == KeyEffect::LibraryRowRemoved ? 2 : 3);
    QCOMPARE(m_library->nameExist(u"Bravo"_s), effect != KeyEffect::LibraryRowRemoved);
    QCOMPARE(loadList.item(2)->text(), effect == KeyEffect::LocationEmptied ? QString() : u"Bravo"_s);
    QWidget *focused = QApplication::focusWidget();
    if (effect == KeyEffect::FocusToLoadList)
        QCOMPARE(focused, &loadList);
    else if (effect == KeyEffect::FocusToLibrary)
        QCOMPARE(focused, &library);
    else
        QCOMPARE(focused, &target);
    QVERIFY(m_seam->messages().isEmpty());
}

namespace {
// One key event of a press held down and let go: the first press, a release and a
// press that the platform repeats (marked as repeats or not), and the last release.
enum class KeyStep { Press, RepeatedRelease, RepeatedPress, UnmarkedRelease, UnmarkedPress, Release };
using Presses = QList<QList<KeyStep>>;
} // namespace
Q_DECLARE_METATYPE(KeyStep)

void frmKivoKeysTest::heldKeyActsOnce_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    // Each inner list is one press of the key, held down from its first to its last
    // event; the presses are apart as far as a person's are.
    QTest::addColumn<Presses>("presses");

    using enum KeyStep;
    const QString library = u"objLibrary"_s;
    const QString loadList = u"objLoadList"_s;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const QList<KeyStep> once{Press, Release};
    const QList<KeyStep> unmarked{Press, UnmarkedRelease, UnmarkedPress, UnmarkedRelease, UnmarkedPress, Release};
    // How the presses and their repeats come is the key filter's to tell apart; here
    // each list's command runs once for a held key.
    QTest::newRow("library, held, repeats unmarked") << library << int(Qt::Key_Delete) << none << Presses{unmarked};
    QTest::newRow("library, Backspace held") << library << int(Qt::Key_Backspace) << none << Presses{unmarked};
    QTest::newRow("library, Shift+Delete held")
        << library << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ShiftModifier) << Presses{unmarked};
    QTest::newRow("load list, held, repeats unmarked") << loadList << int(Qt::Key_Delete) << none << Presses{unmarked};
    QTest::newRow("load list, Backspace held") << loadList << int(Qt::Key_Backspace) << none << Presses{unmarked};
    QTest::newRow("load list, two presses") << loadList << int(Qt::Key_Backspace) << none << Presses{once, once};
}

void frmKivoKeysTest::heldKeyActsOnce()
{
    QFETCH(QString, list);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(Presses, presses);

    test::DrivenClock clock;
    const QStringList names{u"Alpha"_s, u"Bravo"_s, u"Charlie"_s, u"Delta"_s, u"Echo"_s, u"Foxtrot"_s};
    prepareDataFolder(names, {{u"First"_s, names}});
    QVERIFY(start());
    activate();
    const bool library = list == u"objLibrary"_s;
    auto &target = control<QListWidget>(list);
    const auto &status = control<QLabel>(u"objStatusBar"_s);
    target.setFocus();
    // The library's command removes its current entry; the load list's empties its
    // current location, and says so.
    const auto commandsRun = [&] {
        return int(names.size()) - (library ? m_library->getCount() : m_lists->activeLoadList()->count());
    };

    int run = 0;
    for (const QList<KeyStep> &press : presses) {
        // The next entry, as the person would choose it between two presses.
        target.setCurrentRow(library ? 0 : run);
        for (const KeyStep step : press) {
            // Nothing acts before the key is let go for good.
            QCOMPARE(commandsRun(), run);
            const bool down
                = step == KeyStep::Press || step == KeyStep::RepeatedPress || step == KeyStep::UnmarkedPress;
            const bool repeat = step == KeyStep::RepeatedPress || step == KeyStep::RepeatedRelease;
            QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers, QString(), repeat);
            QApplication::sendEvent(&target, &event);
        }
        ++run;
        clock.advance(std::chrono::seconds(1));
        QCOMPARE(commandsRun(), run);
        // One command ran, not a second one on the location that the first emptied.
        QCOMPARE(status.text(), library ? u" File removed"_s : u" Location %1 removed"_s.arg(run));
    }
    QVERIFY(m_seam->messages().isEmpty());
    QStringList rows;
    for (int row = 0; row < target.count(); ++row)
        rows.append(target.item(row)->text());
    const QStringList left = names.mid(run);
    QCOMPARE(rows, library ? left : QStringList(run, QString()) + left + QStringList(12 - names.size(), QString()));
}

QTEST_MAIN(frmKivoKeysTest)
#include "frmKivoKeysTest.moc"
