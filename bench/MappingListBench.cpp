// bench_mapping_list: page C with a list of 10,000 rows, offscreen. Opening
// the page, then every frame of scrolling through the whole list a page at
// a time and of moving the selection down row by row, each painted at
// once. The list is smooth when no frame takes longer than a screen
// refresh (16 ms); a row's time is its worst frame.
#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/CMemoryLoadLog.h"
#include "app/CWizardChoices.h"
#include "bench/BenchSupport.h"
#include "mapping/CMappingJob.h"
#include "mapping/ui/CMappingPage.h"
#include "platform/CodePage.h"
#include "platform/DiskSpace.h"
#include "platform/HeapPages.h"
#include "platform/MessagePump.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRows = 10000;

// A document whose font definitions are all different fonts: one row each.
std::string WriteDocument(const fs::path& folder) {
  const fs::path path = folder / "many-fonts.doc";
  std::ofstream out(path, std::ios::binary);
  out << "<!OPS, Version = 8.0>\n\n<!Font Definitions,\n";
  for (int i = 1; i <= kRows; ++i) {
    out << "\tF" << i << " = Family" << i << ' ' << 6 + i % 30 << (i % 3 == 0 ? " Bold" : "")
        << (i == kRows ? ">\n" : ",\n");
  }
  out << "\nText in <F7>one font<F0>.\n";
  return path.string();
}

// Processor and wall time of the frames measured: the worst one and all.
struct Frames {
  bench::Timing worst{0, 0};
  bench::Timing total{0, 0};
  int count = 0;
  void Add(bench::Timing t) {
    worst.cpu = std::max(worst.cpu, t.cpu);
    worst.wall = std::max(worst.wall, t.wall);
    total.cpu += t.cpu;
    total.wall += t.wall;
    ++count;
  }
};

bench::Timing Once(const std::function<void()>& work) { return bench::Best(1, work); }

void Report(const std::string& what, const std::string& rows, const Frames& frames) {
  bench::Report(what, rows, 0, frames.worst, 0,
                std::to_string(frames.count) + " frames, mean " +
                    std::to_string(frames.total.wall / frames.count * 1000).substr(0, 5) + " ms wall");
}

}  // namespace

int main(int argc, char** argv) {
  PrepareHeap();  // as the programs do
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  SetProcessCodePage(1252);
  SetMessagePump(nullptr);
  SetFreeDiskSpaceQuery([](const std::string&) { return std::optional<uint64_t>(uint64_t(1) << 40); });

  const fs::path folder = fs::temp_directory_path() / ("typeswap-bench-" + std::to_string(getpid()));
  fs::create_directories(folder / "out");
  const std::string document = WriteDocument(folder);
  {
    CWizardChoices choices(document + ";", document + ";", (folder / "out").string(), 1);
    CMemoryLoadLog log;
    CMappingJob job(choices, log);
    if (!job.Load(true)) {
      std::fprintf(stderr, "bench_mapping_list: the document did not load\n");
      return 1;
    }

    std::unique_ptr<CMappingPage> page;
    const bench::Timing open = Once([&] {
      page =
          std::make_unique<CMappingPage>(job.Session().TranslatedModel(), job.Session().FontModel(), choices, nullptr);
      page->resize(800, 600);
      page->show();
      QApplication::processEvents();
      page->ListView()->viewport()->repaint();
    });
    QTableView& view = *page->ListView();
    const int rows = view.model()->rowCount();
    const std::string label = std::to_string(rows) + " rows";
    bench::Report("page C open", label, 0, open);

    Frames scroll;
    QScrollBar& bar = *view.verticalScrollBar();
    for (int value = 0; value <= bar.maximum(); value += std::max(1, bar.pageStep())) {
      scroll.Add(Once([&] {
        bar.setValue(value);
        view.viewport()->repaint();
      }));
    }
    Report("page C scroll", label, scroll);

    Frames select;
    for (int row = rows - 1; row >= 0 && row >= rows - 300; --row) {
      select.Add(Once([&] {
        view.setCurrentIndex(view.model()->index(row, 0));
        QApplication::processEvents();
        view.viewport()->repaint();
      }));
    }
    Report("page C select", label, select);
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return 0;
}
