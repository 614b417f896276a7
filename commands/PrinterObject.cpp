#include "PrinterObject.h"

#include "platform/RuntimeError.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QPrinter>
#include <QStringList>

#include <cmath>
#include <utility>

namespace kivo {

namespace {

constexpr double twipsPerInch = 1440.0;
// The platform's print zones, to which a TAB advances: every 14 average characters.
constexpr double charactersPerZone = 14.0;

} // namespace

PrinterObject::PrinterObject(QPrinter &printer)
    : m_printer(printer)
{
}

void PrinterObject::setFontSize(double points)
{
    m_font.setPointSizeF(points);
}

void PrinterObject::Print(const QString &text)
{
    const QFontMetricsF metrics(m_font, &m_printer);
    const double zone = charactersPerZone * metrics.averageCharWidth();
    const double left = deviceX(m_currentX);
    const double baseline = deviceY(m_currentY) + metrics.ascent();
    // Each TAB moves on to the next print zone of the line.
    double x = left;
    QList<std::pair<QPointF, QString>> pieces;
    const QStringList parts = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            x = left + (std::floor((x - left) / zone) + 1) * zone;
        pieces.append({QPointF(x, baseline), parts.at(i)});
        x += metrics.horizontalAdvance(parts.at(i));
    }
    m_page.emplace_back([font = m_font, pieces](QPainter &painter) {
        painter.setFont(font);
        for (const auto &[at, piece] : pieces)
            painter.drawText(at, piece);
    });
    m_currentX = 0;
    m_currentY += twipsFromDevice(metrics.height());
}

void PrinterObject::Line(double x1, double y1, double x2, double y2)
{
    const QLineF line(deviceX(x1), deviceY(y1), deviceX(x2), deviceY(y2));
    m_page.emplace_back([line](QPainter &painter) { painter.drawLine(line); });
}

void PrinterObject::EndDoc()
{
    const std::vector<Step> page = std::move(m_page);
    m_page.clear();
    m_currentX = 0;
    m_currentY = 0;
    if (page.empty())
        return;
    QPainter painter;
    if (!painter.begin(&m_printer))
        throw RuntimeError(ErrorNumber::PrinterError);
    for (const Step &step : page)
        step(painter);
    if (!painter.end() || m_printer.printerState() == QPrinter::Error)
        throw RuntimeError(ErrorNumber::PrinterError);
}

// The painter's origin is the printable area's top left corner.
double PrinterObject::deviceX(double twips) const
{
    return (twips - m_scaleLeft) * m_printer.resolution() / twipsPerInch;
}

double PrinterObject::deviceY(double twips) const
{
    return (twips - m_scaleTop) * m_printer.resolution() / twipsPerInch;
}

double PrinterObject::twipsFromDevice(double pixels) const
{
    return pixels * twipsPerInch / m_printer.resolution();
}

} // namespace kivo
