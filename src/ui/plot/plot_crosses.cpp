#include "ui/plot/plot_crosses.h"

#include "core/plot_pixels.h"
#include "ui/common/color_conversion.h"
#include "ui/plot/plot_surface.h"

void PlotCrosses::drawBody(const TVector& NewPos, Body body) {
    const PlotPixel p = pixelOrThrow(NewPos, r_.CurSettings.sf());
    // Compared as long double, so a body however far away is simply not drawn. The whole plot counts, also
    // the part a dock covers, so the crosses are there when the dock goes.
    const QSize plot = surface_.image().size();
    if (p.x < 0 || p.x > plot.width() - 1 || p.y < 0 || p.y > plot.height() - 1) return;
    const TColor c = body == BodyA ? r_.CurSettings.AColor() : r_.CurSettings.BColor();
    surface_.drawCross(static_cast<int>(p.x), static_cast<int>(p.y), colorOf(c).rgb());
}

void PlotCrosses::drawKeptPoints(const PlotTrack& points, std::int32_t n) {
    for (std::int32_t i = 0; i <= n; ++i) {
        drawBody(points.positionA(static_cast<std::size_t>(i)), BodyA);
        drawBody(points.positionB(static_cast<std::size_t>(i)), BodyB);
    }
}
