// bench_wizard_load: the loading driver as the wizard runs it, with the
// wizard's message pump and a shown load log list box (offscreen), beside
// the same load without a pump, as typeswap-cli load runs it.
#include <QApplication>
#include <QListWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/LoadFileSet.h"
#include "app/ui/CListBoxLoadLog.h"
#include "app/ui/CWizardApp.h"
#include "bench/BenchSupport.h"
#include "model/CFontReferenceList.h"
#include "platform/CodePage.h"
#include "platform/HeapPages.h"
#include "platform/MessagePump.h"

namespace {

bench::Timing Load(const std::string& path, QListWidget& box) {
  return bench::Best(3, [&] {
    box.clear();
    CListBoxLoadLog log(box);
    CFontReferenceList model;
    int32_t errors = 0, valid = 0;
    if (!LoadFileSet(log, errors, model, path + ";", valid, LoadMode::TranslatedFiles, ".") || valid != 1) {
      std::fprintf(stderr, "%s: not loaded\n", path.c_str());
      std::exit(1);
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  PrepareHeap();  // as the programs do
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::vector<bench::BenchFile> files = bench::BenchFiles(argc, argv, "bench_wizard_load");
  QApplication app(argc, argv);
  QListWidget box;
  box.show();
  for (const bench::BenchFile& f : files) {
    SetProcessCodePage(f.codePage);
    const std::string name = std::filesystem::path(f.path).filename().string();
    const uint64_t bytes = std::filesystem::file_size(f.path);
    SetMessagePump(nullptr);
    const bench::Timing withoutPump = Load(f.path, box);
    bench::Report("load (no pump)", name, bytes, withoutPump);
    CWizardApp::InstallHooks();
    const bench::Timing wizard = Load(f.path, box);
    char note[100];
    std::snprintf(note, sizeof note, "%.2f x the load without a pump", wizard.cpu / withoutPump.cpu);
    bench::Report("load (wizard pump)", name, bytes, wizard, 0, note);
  }
  SetMessagePump(nullptr);
  return 0;
}
