#include "settings_file/t_state_file.h"
#include "ui/common/report_error.h"
