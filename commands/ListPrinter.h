#pragma once

#include <QString>

#include <functional>

class QPrinter;

namespace kivo {

class IPersistToFile;
class Library;
class LoadLists;

// Prints a list of sound images, 30 rows a page, each page a print job of its own,
// and tells through the status report how each page went.
class ListPrinter {
public:
    using StatusReport = std::function<void(const QString &)>;

    explicit ListPrinter(StatusReport status);

    // nullptr = the system's default printer.
    void print(const IPersistToFile &list, QPrinter *printer);
    // Prints the library ("LIBRARY") or the active list ("LOADLIST"); any other text
    // prints nothing. An empty library or no active list is only reported.
    void printList(const QString &strList, const Library &library, const LoadLists &loadLists, QPrinter *printer);

private:
    void printPage(QPrinter &printer, const IPersistToFile &list, int first, int last);

    StatusReport m_status;
};

} // namespace kivo
