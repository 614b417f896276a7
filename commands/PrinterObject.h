#pragma once

#include <QFont>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class QPrinter;

namespace kivo {

// The program's printer object over a QPrinter: positions in twips (1/1440 inch) at
// the printer's resolution, measured from a scale origin that the caller moves; text
// printed a line at a time and straight lines. What is drawn makes up one page that
// EndDoc sends as a print job of its own; a page that never reaches EndDoc is never
// sent, so a page that fails half-way leaves the printer untouched.
class PrinterObject {
public:
    explicit PrinterObject(QPrinter &printer);
    PrinterObject(const PrinterObject &) = delete;
    PrinterObject &operator=(const PrinterObject &) = delete;

    // The coordinates of the printable area's left and top edges.
    void setScaleLeft(double twips) noexcept { m_scaleLeft = twips; }
    void setScaleTop(double twips) noexcept { m_scaleTop = twips; }
    void setFontSize(double points);
    double currentX() const noexcept { return m_currentX; }
    void setCurrentX(double twips) noexcept { m_currentX = twips; }
    double currentY() const noexcept { return m_currentY; }
    void setCurrentY(double twips) noexcept { m_currentY = twips; }

    // Prints the text as one line at the current position, then moves to the start
    // of the next line.
    void Print(const QString &text);
    // A straight line in black.
    void Line(double x1, double y1, double x2, double y2);
    // Sends the page to the printer as one print job and starts a new page at the
    // origin. Throws RuntimeError when the printer cannot take it.
    void EndDoc();

private:
    using Step = std::function<void(QPainter &)>;

    double deviceX(double twips) const;
    double deviceY(double twips) const;
    double twipsFromDevice(double pixels) const;

    QPrinter &m_printer;
    QFont m_font;
    double m_scaleLeft = 0;
    double m_scaleTop = 0;
    double m_currentX = 0;
    double m_currentY = 0;
    std::vector<Step> m_page;
};

} // namespace kivo
