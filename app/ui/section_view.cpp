#include "section_view.h"
