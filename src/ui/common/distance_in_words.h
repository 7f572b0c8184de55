#pragma once

#include <QChar>
#include <QString>

#include "core/t_state.h"

// A distance to three significant digits in words: "312 million km", "48.3 thousand km". Empty when not
// finite.
QString distanceInWords(Extended metres, QChar decimalPoint = QLatin1Char('.'));
