#pragma once

#include "model/Model.h"
#include "platform/ModalSeam.h"

#include <QString>

// The large data folder that the benchmarks work on.
namespace kivo::bench {

inline constexpr int libraryRecords = 10000;
inline constexpr int loadListCount = 1000;

// Nothing in these runs should ask the user anything: a message box means a fault.
class NoQuestions final : public ModalSeam {
public:
    Answer messageBox(const MessageRequest &request) override;
    int execDialog(QDialog &dialog) override;
};

// Record i of the large library; its sound image file does not exist.
ModelPtr libraryRecord(int i);

// Writes a sound image file with tag i into the folder, which exists, and returns
// its record, named as libraryRecord(i) is.
ModelPtr writeSoundImage(const QString &folder, int i);

// Writes a library of libraryRecords records and loadListCount full load lists into
// the data folder.
void writeLargeDataFolder();

} // namespace kivo::bench
