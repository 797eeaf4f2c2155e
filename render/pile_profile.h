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

// How the rock of a band is hatched: by its weathering and its integrity, the same rock always
// the same way.
struct TRockPattern
{
    int lines = 0; // 0 rising diagonals, 1 falling, 2 crossed, 3 horizontal dashes
    double spacing = 1; // of the line distance; closer for a more broken rock
    QString legend; // the weathering and the integrity it stands for

    friend bool operator==(const TRockPattern &, const TRockPattern &) = default;
};

TRockPattern RockPatternOf(const TRockLayer &rock, TInterpBasis basis);

// Where the parts of a profile fall in its area, in the painter's coordinates.
struct TProfileLayout
{
    QRectF title;
    QRectF elevation; // the bands: ground line at its top, the tip above its bottom
    double depthScale = 0; // device units per metre, downwards from the ground line
    double minBandHeight = 0; // a band thinner to scale is drawn this high
    bool depthToScale = true; // no band was raised to the minimum height
    std::vector<QRectF> soilBands; // top down
    std::vector<QRectF> rockBands; // top down; the last ends at the tip
    std::vector<std::size_t> rockPatterns; // per rock band, its pattern in `legend`
    std::vector<TRockPattern> legend; // the patterns of the pile's rocks, in order of appearance
    QRectF below; // the rock under the tip, an open band
    QRectF pile;
    bool widthToScale = true; // the pile's width is drawn to the depth scale
    std::vector<QRectF> soilLabels; // one box per soil layer
    std::vector<QRectF> rockLabels;
    double labelPixels = 0; // the labels' font height
    QRectF plan; // the plan view of the section
    QRectF legendBox; // the rock patterns and what they stand for
    QRectF resistances; // the table of resistances and the share bar
};

TProfileLayout LayoutPileProfile(const QRectF &area, const TPileRecord &pile);

// Draws pile ZH`n` in `area` on whatever the painter paints (a page, a printer, an image, a
// widget).
void DrawPileProfile(QPainter &painter, const QRectF &area, const TPileRecord &pile, int n);
