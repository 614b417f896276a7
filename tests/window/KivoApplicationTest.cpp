#include "window/KivoApplication.h"

#include "platform/RuntimeError.h"

#include "WindowFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::StringLiterals;

// A failure that no command caught reaches the user where its event was delivered,
// and the program goes on.
class KivoApplicationTest : public QObject, public WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void failureOfACommandIsShown_data();
    void failureOfACommandIsShown();
    void failureOfATimerIsShown_data();
    void failureOfATimerIsShown();

private:
    void clickLibraryRow(int row);
};

void KivoApplicationTest::clickLibraryRow(int row)
{
    auto &library = control<QListWidget>(u"objLibrary"_s);
    QTest::mouseClick(library.viewport(), Qt::LeftButton, Qt::NoModifier,
                      library.visualItemRect(library.item(row)).center());
}

void KivoApplicationTest::failureOfACommandIsShown_data()
{
    QTest::addColumn<QString>("command");

    QTest::newRow("click on the row") << QString();
    QTest::newRow("picture button") << u"moveButton"_s;
}

void KivoApplicationTest::failureOfACommandIsShown()
{
    QFETCH(QString, command);

    prepareDataFolder({u"Alpha"_s, u"Bravo"_s}, {{u"First"_s, {u"Alpha"_s}}});
    QVERIFY(start());
    activate();
    control<QListWidget>(u"objLoadList"_s).setCurrentRow(1);
    clickLibraryRow(1);
    // The record goes while its row still stands in the window's list.
    m_library->removeItem(u"Bravo"_s);
    m_seam->clear();

    if (command.isEmpty())
        clickLibraryRow(1);
    else
        invoke(command);

    QCOMPARE(m_seam->messages().size(), 1);
    const MessageRequest &shown = m_seam->messages().constFirst();
    QCOMPARE(shown.text, RuntimeError::standardDescription(ErrorNumber::InvalidArgument));
    QCOMPARE(shown.title, u"Kivo Rudovaz"_s);
    QCOMPARE(shown.buttons, Buttons::Ok);
    QVERIFY(m_window->isVisible());
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // The window answers the next command.
    clickLibraryRow(0);
    QCOMPARE(control<QLabel>(u"lblPath"_s).text(), u" Alpha.tvs"_s);
    QCOMPARE(m_seam->messages().size(), 1);
}

void KivoApplicationTest::failureOfATimerIsShown_data()
{
    QTest::addColumn<bool>("programError");
    QTest::addColumn<QString>("description");

    QTest::newRow("run-time error") << true << RuntimeError::standardDescription(ErrorNumber::FileNotFound);
    QTest::newRow("standard error") << false << u"position 3 is out of range"_s;
}

void KivoApplicationTest::failureOfATimerIsShown()
{
    QFETCH(bool, programError);
    QFETCH(QString, description);

    QTimer::singleShot(0, qApp, [programError, description] {
        if (programError)
            throw RuntimeError(ErrorNumber::FileNotFound);
        throw std::out_of_range(description.toStdString());
    });
    bool later = false;
    QTimer::singleShot(0, qApp, [&later] { later = true; });

    QTRY_VERIFY(later);
    QCOMPARE(m_seam->messageTexts(), QStringList{description});
    QCOMPARE(m_seam->messages().constFirst().title, u"Kivo Rudovaz"_s);
}

int main(int argc, char *argv[])
{
    KivoApplication application(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    KivoApplicationTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "KivoApplicationTest.moc"
