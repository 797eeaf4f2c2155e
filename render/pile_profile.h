#pragma once

#include "pile_reports.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRectF>

#include <vector>

// The profile of one calculated pile: the ground line, the soil layers and the rock layers of the
// socket as bands to the depth scale, the pile in them, a plan view of its section with its
// dimensions, the socket depth h, and the resistances with their shares of Ra as a bar. Drawn in
// black on white with hatchings, so that it prints legibly on any printer.

// Where the parts of a profile fall in its area, in the painter's coordinates.
struct TProfileLayout
{
    QRectF title;
    QRectF elevation; // the bands: ground line at its top, the tip above its bottom
    double depthScale = 0; // device units per metre, downwards from the ground line
    std::vector<QRectF> soilBands; // top down
    std::vector<QRectF> rockBands; // top down; the last ends at the tip
    QRectF below; // the rock under the tip, an open band
    QRectF pile;
    std::vector<QRectF> soilLabels; // one box per soil layer
    std::vector<QRectF> rockLabels;
    double labelPixels = 0; // the labels' font height
    QRectF plan; // the plan view of the section
    QRectF resistances; // the table of resistances and the share bar
};

TProfileLayout LayoutPileProfile(const QRectF &area, const TPileRecord &pile);

// Draws pile ZH`n` in `area` on whatever the painter paints (a page, a printer, an image, a
// widget).
void DrawPileProfile(QPainter &painter, const QRectF &area, const TPileRecord &pile, int n);
