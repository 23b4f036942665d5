#include "ui/section_view.h"
