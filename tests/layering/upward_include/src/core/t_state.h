#include <QString>
#include "core/t_state.h"
