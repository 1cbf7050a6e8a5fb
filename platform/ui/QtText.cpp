// String table and document texts for Qt.
#include "platform/ui/QtText.h"

#include <QStringDecoder>

#include "platform/CodePage.h"
#include "platform/StringTable.h"

QString ResText(int32_t id) { return ToQt(LoadResString(id)); }

QString DocumentText(const std::string& text) {
  // The decoder is made anew when the code page changed (tests switch it).
  static int32_t codePage = 0;
  static QStringDecoder decoder;
  if (codePage != ProcessCodePage() || !decoder.isValid()) {
    codePage = ProcessCodePage();
    decoder = QStringDecoder(("cp" + std::to_string(codePage)).c_str());
  }
  if (!decoder.isValid()) return ToQt(text);
  decoder.resetState();
  return decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}
