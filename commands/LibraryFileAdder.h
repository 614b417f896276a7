#pragma once

#include <QString>
#include <QStringList>

#include <exception>
#include <functional>

namespace kivo {

class Glue;

// Offers sound image files to the library: it probes each file, asks its name through
// the shared dialog, and hands it to the facade. Files that cannot be added are
// reported one by one, so that a batch goes on with the next.
class LibraryFileAdder {
public:
    using StatusReport = std::function<void(const QString &)>;

    LibraryFileAdder(Glue &glue, StatusReport status);

    // A file dialog's answer: one path, or the folder followed by the names in it.
    void processRawFile(const QStringList &strFiles);
    // Offers the sound image files dropped on the library, in their order; each name
    // prompt offers the buttons for all files, also for a single file.
    void addDroppedFiles(const QStringList &strPaths);
    void sendFileToLibrary(const QString &strName, const QString &strPath);
    void sendFileHelper(const QString &strName, const QString &strPath);

private:
    // Offers the files to the library one by one. The answer to the last prompt of the
    // shared dialog decides for each: Ok All adds it under its own name, Cancel All
    // ends the batch, no answer for all asks its name; an action code that no answer
    // gives skips it with "Logic error".
    void addEach(const QStringList &strPaths);
    // A file that cannot be added: the status text and a message box with the reason.
    void reportAddFailure(const std::exception &error);

    Glue &m_glue;
    StatusReport m_status;
};

} // namespace kivo
