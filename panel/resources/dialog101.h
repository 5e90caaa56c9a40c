// Dialog 101 of the panel in its two languages, as data.
#pragma once

#include "platform/dialog_template.h"

namespace vext {

// English (1033) first, then Japanese (1041).
const platform::DialogTemplate* Dialog101Templates();
int Dialog101TemplateCount();

}  // namespace vext
