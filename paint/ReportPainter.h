#pragma once
// Paints the report page (report/ReportPage.h) on a Qt paint device: the preview, the
// printer, a PDF file or an image. This header needs no Qt headers, so the command-line
// tool can include it.

#include <string>

#include "calc/SitePlan.h"
#include "report/ReportPage.h"

class QPainter;

// Draws the operations on the painter's device. Centimetres become device pixels as
// round(dpi · cm / 2.54), separately for x and y, with the device's logical resolution;
// texts centred on the page use the device width. A page too long for the device or the
// printable part of the sheet is drawn smaller (reportPageScale). The font is "Times New Roman" (Liberation
// Serif where it is missing); block titles are navy.
void paintReportPage(QPainter& painter, const ReportPage& page);

// The factor the page is drawn at on a device of the given height: 1, or less when the
// page reaches below it or below kReportBottomLimitCm (the whole page then shrinks so that
// no row is lost or cut by the printer).
double reportPageScale(const ReportPage& page, double deviceHeightCm);

// The report's second page: the project's header (buildSitePlanPageHeader) and the site plan
// fitted into sitePlanArea, framed, with its legend and scale bar.
struct SitePlanSheet {
    ReportPage header;
    SitePlan plan;
};
void paintSitePlanSheet(QPainter& painter, const SitePlanSheet& sheet);

// Writes the page as a one-page A4 PDF, or two pages with the site plan's sheet. Without a running Qt application one is started
// for the call on the "offscreen" platform, so this works headless. Returns "" on success,
// otherwise a Swedish message.
std::string writeReportPdf(const std::string& path, const ReportPage& page, const SitePlanSheet* sheet = nullptr);
