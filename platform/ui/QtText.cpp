// String table texts for Qt.
#include "platform/ui/QtText.h"

#include "platform/StringTable.h"

QString ResText(int32_t id) { return ToQt(LoadResString(id)); }
