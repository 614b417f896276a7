#include "ListPrinter.h"

#include "commands/PrinterObject.h"
#include "model/IPersistToFile.h"
#include "model/Library.h"
#include "model/LoadLists.h"
#include "platform/RuntimeError.h"

#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace kivo {

namespace {

constexpr int rowsPerPage = 30;

void printHeader(PrinterObject &objPrinter, const QString &listName)
{
    objPrinter.setFontSize(18);
    objPrinter.Print({});
    objPrinter.Print(QStringLiteral("\t\tTulvex"));
    objPrinter.Print(QStringLiteral("\t\t\tKivo Rudovaz"));
    objPrinter.Print({});
    objPrinter.setFontSize(16);
    objPrinter.Print(QLatin1Char('\t') + listName);
    objPrinter.Print({});
}

// The row's number and name side by side, a rule under them, and a small gap.
void printRow(PrinterObject &objPrinter, const IPersistToFile &list, int row)
{
    objPrinter.setCurrentX(300);
    const double y = std::round(objPrinter.currentY());
    objPrinter.Print(QLatin1Char(' ') + QString::number(row + 1));
    objPrinter.setCurrentY(y);
    objPrinter.setCurrentX(3050);
    const ModelPtr m = list.getModel(row);
    objPrinter.Print(m ? m->name() : QString());
    const double y2 = std::round(objPrinter.currentY());
    objPrinter.Line(300, y2, 6300, y2);
    objPrinter.setCurrentY(y2 + 20);
}

} // namespace

ListPrinter::ListPrinter(StatusReport status)
    : m_status(std::move(status))
{
}

void ListPrinter::print(const IPersistToFile &list, QPrinter *printer)
{
    std::unique_ptr<QPrinter> systemPrinter;
    if (printer == nullptr)
        systemPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter &target = printer != nullptr ? *printer : *systemPrinter;
    const int n = list.count();
    for (int first = 0; first < n; first += rowsPerPage)
        printPage(target, list, first, std::min(first + rowsPerPage, n) - 1);
}

void ListPrinter::printList(const QString &strList, const Library &library, const LoadLists &loadLists,
                            QPrinter *printer)
{
    if (strList == u"LIBRARY") {
        if (library.getCount() == 0) {
            m_status(QStringLiteral(" Your list of Sound Image is empty"));
            return;
        }
        print(library.persistent(), printer);
    } else if (strList == u"LOADLIST") {
        const LoadListPtr active = loadLists.activeLoadList();
        if (!active) {
            m_status(QStringLiteral(" Your Load List is empty"));
            return;
        }
        print(active->persistent(), printer);
    }
}

void ListPrinter::printPage(QPrinter &printer, const IPersistToFile &list, int first, int last)
{
    try {
        PrinterObject objPrinter(printer);
        objPrinter.setScaleLeft(-300);
        objPrinter.setScaleTop(-300);
        printHeader(objPrinter, list.name());
        for (int row = first; row <= last; ++row)
            printRow(objPrinter, list, row);
        objPrinter.EndDoc();
    } catch (const RuntimeError &) {
        m_status(QStringLiteral(" Kivo Rudovaz could not print. Please install a valid Printer"));
        return;
    }
    m_status(QLatin1Char(' ') + list.name() + QStringLiteral("'s content was sent to your printer"));
}

} // namespace kivo
