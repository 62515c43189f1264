#include "paint/ReportPainter.h"

#include "paint/HeadlessApp.h"
#include "paint/SitePlanPainter.h"

#include <QColor>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPaintDevice>
#include <QPdfWriter>
#include <QPen>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {
QFont reportFont(int pointSize, bool bold)
{
    QFont f;
    f.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
    f.setStyleHint(QFont::Serif);
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

QColor colourOf(ReportColour c) { return c == ReportColour::Navy ? QColor(0, 0, 128) : QColor(Qt::black); }

}  // namespace

double reportPageScale(const ReportPage& page, double deviceHeightCm)
{
    return page.fitScale(std::min(deviceHeightCm, kReportBottomLimitCm));
}

void paintReportPage(QPainter& painter, const ReportPage& page)
{
    QPaintDevice* device = painter.device();
    const double dpiX = device->logicalDpiX();
    const double dpiY = device->logicalDpiY();
    const double pageWidth = device->width();
    auto px = [dpiX](double cm) { return static_cast<double>(std::lround(dpiX * cm / 2.54)); };
    auto py = [dpiY](double cm) { return static_cast<double>(std::lround(dpiY * cm / 2.54)); };

    painter.save();
    // A project that uses every part of the page (both corrections, several tracks, the
    // warning, curves, cross-sections and screens) reaches into the strip at the bottom
    // that printers cut, or below the paper; the whole page is then drawn smaller instead
    // of losing its last rows.
    const double scale = reportPageScale(page, device->height() * 2.54 / dpiY);
    painter.scale(scale, scale);
    const double centreWidth = pageWidth / scale;
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, std::round(dpiX / 254.0)));  // about 0.1 mm
    painter.setBrush(Qt::NoBrush);

    double penX = 0.0;  // where the last text ended, for texts that follow it
    for (const DrawOp& op : page.ops) {
        switch (op.kind) {
        case DrawOp::Kind::Line:
            painter.setPen(pen);
            painter.drawLine(QPointF(px(op.x), py(op.y)), QPointF(px(op.x2), py(op.y2)));
            break;
        case DrawOp::Kind::Rect:
            painter.setPen(pen);
            painter.drawRect(QRectF(QPointF(px(op.x), py(op.y)), QPointF(px(op.x2), py(op.y2))));
            break;
        case DrawOp::Kind::Text: {
            const QString text = QString::fromStdString(op.text);
            const QFont font = reportFont(op.fontSize, op.bold);
            painter.setFont(font);
            // Metrics on the painter's device, so widths are in its pixels.
            const QFontMetricsF fm(font, device);
            const double width = fm.horizontalAdvance(text);
            double x = 0.0;
            switch (op.align) {
            case DrawOp::Align::Left: x = px(op.x); break;
            case DrawOp::Align::Right: x = px(op.x) - width; break;
            case DrawOp::Align::PageCentre: x = (centreWidth - width) / 2.0; break;
            case DrawOp::Align::Follow: x = penX; break;
            }
            // The operation gives the top of the text; Qt draws on the baseline.
            const double top = py(op.y + op.rise);
            painter.setPen(colourOf(op.colour));
            painter.drawText(QPointF(x, top + fm.ascent()), text);
            penX = x + width;
            break;
        }
        }
    }
    painter.restore();
}

void paintSitePlanSheet(QPainter& painter, const SitePlanSheet& sheet)
{
    paintReportPage(painter, sheet.header);
    QPaintDevice* device = painter.device();
    const double dpiX = device->logicalDpiX(), dpiY = device->logicalDpiY();
    auto px = [dpiX](double cm) { return static_cast<double>(std::lround(dpiX * cm / 2.54)); };
    auto py = [dpiY](double cm) { return static_cast<double>(std::lround(dpiY * cm / 2.54)); };
    // Down to the paper's printable bottom, half a centimetre short of it.
    const double bottom = std::min(py(sitePlanArea.bottom), device->height() - py(0.5));
    const QRectF area(QPointF(px(sitePlanArea.left), py(sitePlanArea.top)), QPointF(px(sitePlanArea.right), bottom));
    if (area.height() <= 0.0) return;
    paintSitePlan(painter, sheet.plan, area, fitSitePlan(sheet.plan, area));
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, std::round(dpiX / 254.0)));
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    painter.restore();
}

std::string writeReportPdf(const std::string& path, const ReportPage& page, const SitePlanSheet* sheet)
{
    HeadlessApp headless;
    if (!headless.usable()) return "PDF-filen kan inte skapas utan grafiskt gränssnitt.";

    const QString fileName = QString::fromStdString(path);
    {
        QPdfWriter writer(fileName);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setResolution(600);
        writer.setTitle(QStringLiteral("Skenbrus"));
        writer.setCreator(QStringLiteral("Skenbrus " SKENBRUS_VERSION_TEXT));
        QPainter painter;
        if (!painter.begin(&writer)) return "Kan inte skriva PDF-filen " + path + ".";
        paintReportPage(painter, page);
        if (sheet) {
            if (!writer.newPage()) return "Kan inte skriva PDF-filen " + path + ".";
            paintSitePlanSheet(painter, *sheet);
        }
        if (!painter.end()) return "Kan inte skriva PDF-filen " + path + ".";
    }
    QFile written(fileName);
    if (!written.exists() || written.size() == 0) return "Kan inte skriva PDF-filen " + path + ".";
    return {};
}
