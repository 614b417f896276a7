#include "PauseSeam.h"

#include <thread>

namespace kivo {

namespace {

class Sleeping final : public PauseSeam {
public:
    void pause(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

PauseSeam *g_installed = nullptr;

} // namespace

PauseSeam &PauseSeam::current()
{
    if (g_installed != nullptr)
        return *g_installed;
    static Sleeping sleeping;
    return sleeping;
}

void PauseSeam::install(PauseSeam *seam)
{
    g_installed = seam;
}

void pauseFor(std::chrono::milliseconds duration)
{
    PauseSeam::current().pause(duration);
}

} // namespace kivo
