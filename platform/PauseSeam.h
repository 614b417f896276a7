#pragma once

#include <chrono>

namespace kivo {

// The waits that the program makes on purpose, so that a status text can be read or
// the unit can take in an image, all pass through here: tests record them instead of
// waiting them out. The program installs nothing and so sleeps.
class PauseSeam {
public:
    virtual ~PauseSeam() = default;

    virtual void pause(std::chrono::milliseconds duration) = 0;

    static PauseSeam &current();
    // Installs the seam to use from now on; nullptr goes back to sleeping.
    static void install(PauseSeam *seam);
};

// Waits through the current seam.
void pauseFor(std::chrono::milliseconds duration);

} // namespace kivo
