#include "HandOverFixture.h"

#include "window/RunningCopy.h"
#include "window/frmKivo.h"

#include "model/Library.h"
#include "model/LoadLists.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace kivo::test {

SecondStart startSecondCopy(frmKivo &running, const QString &commandLine)
{
    auto *copy = running.findChild<RunningCopy *>(u"runningCopy"_s);
    if (copy == nullptr)
        return {};
    QSignalSpy arrived(copy, &RunningCopy::commandLineArrived);
    Library library;
    LoadLists lists;
    frmKivo second(library, lists);
    second.setCommandLine(commandLine);
    SecondStart result;
    result.loaded = second.Form_Load();
    result.handedOver = second.handedOver();
    // The running copy takes it while the second start waits for its answer.
    result.arrived = result.handedOver && (!arrived.isEmpty() || arrived.wait());
    return result;
}

void HandOverFixture::verifyOffered(const DialogSeen &seen, const QString &name, const QString &path)
{
    QVERIFY(m_seam->allAnswersUsed());
    if (name.isNull()) {
        QCOMPARE(m_seam->dialogsShown(), 0);
        QCOMPARE(m_library->getCount(), 0);
        return;
    }
    QCOMPARE(seen.title, u"Adding Sound Image"_s);
    QCOMPARE(seen.defaultAnswer, name);
    QCOMPARE(seen.message, u"Enter name for file: "_s + path);
    QCOMPARE(m_library->getCount(), 1);
    QCOMPARE(m_library->getModel(name)->path(), path);
}

} // namespace kivo::test
