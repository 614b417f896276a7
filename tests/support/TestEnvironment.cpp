// Linked into every test program, so that it starts from the same environment
// whoever starts it: CTest, an IDE, a debugger or a person in a shell.
#include <QByteArray>
#include <QtGlobal>

namespace {

void settleTestEnvironment()
{
    // The windows stay off the person's screen and keyboard focus, unless a
    // platform is chosen (QT_QPA_PLATFORM=xcb shows them).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own MIDI system, not the one the shell chose; a test that
    // starts a JACK server of its own makes that its MIDI system (JackServer).
    qunsetenv("KIVO_MIDI_API");
}

} // namespace

// Before main, so before the application object reads its platform.
Q_CONSTRUCTOR_FUNCTION(settleTestEnvironment)
