// A later start of the program on a data folder, as far as its hand-over goes: it
// prints what became of its command line and ends.
//   window_LaterStart DATA_FOLDER COMMAND_LINE
// prints "handed over" (the running copy took it), "running" (this start holds the
// folder and would start on its own), "unreachable" or "locked elsewhere".

#include "window/RunningCopy.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 2;
    kivo::RunningCopy copy;
    const char *outcome = "unreachable";
    switch (copy.start(arguments.at(1), arguments.at(2))) {
    case kivo::RunningCopy::Role::Running:
        outcome = "running";
        break;
    case kivo::RunningCopy::Role::HandedOver:
        outcome = "handed over";
        break;
    case kivo::RunningCopy::Role::Unreachable:
        break;
    case kivo::RunningCopy::Role::LockedElsewhere:
        outcome = "locked elsewhere";
        break;
    }
    std::puts(outcome);
    return 0;
}
