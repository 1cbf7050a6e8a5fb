// Fuzz target: a font map file of arbitrary bytes, read by the mapping page
// (applied to a small table) and by the loading driver for font files.
#include <cstdint>
#include <string>

#include "app/CMemoryLoadLog.h"
#include "app/LoadFontMapSet.h"
#include "fuzz/FuzzScratchFile.h"
#include "mapping/CMappingTable.h"
#include "mapping/CMessageSink.h"
#include "mapping/FontMapFile.h"
#include "model/CFontReferenceList.h"
#include "tests/mapping/MappingTestSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = WriteScratchFile("fuzz-map.txt", data, size);

  // Rows of every kind the map lines can name.
  mappingtest::CModelBuilder translated;
  translated.File("map.doc").Define("F1", "Times", "10").Define("F2", "Times", "12", "Bold", "Italic");
  translated.Number("Body", KindComponent, "1").Number("Body", KindSubcomponent, "2");
  translated.Number("|:list", KindComponentPrefix, "1");
  translated.Named("Chart Font", "Helvetica9").Named("Text String Font", "wst:helv10b");
  translated.Change("2");
  CMappingTable table(translated.list);
  table.BuildTable();
  CFontReferenceList fontFiles;
  CCollectingMessageSink messages;
  LoadFontMaps({path, path}, table, fontFiles, messages);
  for (int32_t row = 0; row < table.RowCount(); ++row)
    for (int32_t column = 0; column < kMappingColumnCount; ++column) (void)table.ColumnText(row, column);

  CFontReferenceList model;
  CMemoryLoadLog log;
  int32_t errors = 0, valid = 0;
  LoadFontMapSet(log, errors, model, path + ";", valid);
  return 0;
}
