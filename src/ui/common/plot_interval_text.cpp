#include "ui/common/plot_interval_text.h"

#include <QCoreApplication>
#include <iterator>
#include <string_view>

#include "core/plot_intervals.h"

namespace {

// The core's captions, marked here for translation: the core has no Qt. The checks below keep the two
// lists the same.
constexpr const char* Captions[] = {
    //: Settings > Plot Interval: the simulated time between two plotted points.
    QT_TRANSLATE_NOOP("PlotInterval", "1 minute"),
    //: Settings > Plot Interval: the simulated time between two plotted points.
    QT_TRANSLATE_NOOP("PlotInterval", "100 seconds"),
    //: Settings > Plot Interval: the simulated time between two plotted points.
    QT_TRANSLATE_NOOP("PlotInterval", "1000 seconds"),
    //: Settings > Plot Interval: the simulated time between two plotted points.
    QT_TRANSLATE_NOOP("PlotInterval", "1 hour"),
    //: Settings > Plot Interval: the simulated time between two plotted points.
    QT_TRANSLATE_NOOP("PlotInterval", "10000 seconds"),
    //: Settings > Plot Interval: the simulated time between two plotted points.
    QT_TRANSLATE_NOOP("PlotInterval", "1 day"),
    //: Settings > Plot Interval: 10E5 is the program's way of writing 10 to the power 5, a hundred
    //: thousand seconds. Keep the number as it is written.
    QT_TRANSLATE_NOOP("PlotInterval", "10E5 seconds"),
    //: Settings > Plot Interval: the simulated time between two plotted points.
    QT_TRANSLATE_NOOP("PlotInterval", "1 week"),
    //: Settings > Plot Interval: 10E6 is 10 to the power 6, a million seconds. Keep the number as it is.
    QT_TRANSLATE_NOOP("PlotInterval", "10E6 seconds"),
    //: Settings > Plot Interval: the simulated time between two plotted points.
    QT_TRANSLATE_NOOP("PlotInterval", "1 month"),
    //: Settings > Plot Interval: 10E7 is 10 to the power 7, ten million seconds. Keep the number as it is.
    QT_TRANSLATE_NOOP("PlotInterval", "10E7 seconds"),
    //: Settings > Plot Interval: the simulated time between two plotted points.
    QT_TRANSLATE_NOOP("PlotInterval", "1 year"),
};

constexpr bool sameAsCore() {
    for (std::size_t i = 0; i < std::size(Captions); ++i)
        if (std::string_view(Captions[i]) != std::string_view(PlotIntervals[i].caption)) return false;
    return true;
}
static_assert(std::size(Captions) == std::size(PlotIntervals), "one caption for each plot interval");
static_assert(sameAsCore(), "the captions are the ones core/plot_intervals.h gives, in its order");

}  // namespace

QString plotIntervalText(std::size_t index) {
    if (index >= std::size(Captions)) return {};
    return QCoreApplication::translate("PlotInterval", Captions[index]);
}
