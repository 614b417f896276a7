#pragma once

#include "platform/PauseSeam.h"

#include <QList>

#include <chrono>

namespace kivo::test {

// Stands in for the program's deliberate waits while it lives: each one returns at
// once and is recorded, so that a test checks the waits asked for without waiting.
class RecordingPauses final : public PauseSeam {
public:
    RecordingPauses() { PauseSeam::install(this); }
    ~RecordingPauses() override { PauseSeam::install(nullptr); }
    RecordingPauses(const RecordingPauses &) = delete;
    RecordingPauses &operator=(const RecordingPauses &) = delete;

    void pause(std::chrono::milliseconds duration) override { m_asked.append(duration); }

    const QList<std::chrono::milliseconds> &asked() const noexcept { return m_asked; }
    void clear() { m_asked.clear(); }

private:
    QList<std::chrono::milliseconds> m_asked;
};

} // namespace kivo::test
