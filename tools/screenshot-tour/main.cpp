// ts_screenshots: typeswap with one more option, --screenshots FOLDER
// TRANSLATED FONTS OUTPUT, that walks the wizard and saves pictures of its
// windows (tools/screenshots.sh runs it).
#include <memory>

#include "app/ui/WizardMain.h"
#include "tools/screenshot-tour/CScreenshotTour.h"

namespace {

class CScreenshotOption : public CWizardStartHook {
 public:
  bool TakeOption(const QStringList& args, qsizetype& i) override {
    if (args[i] != QLatin1String("--screenshots") || i + 4 >= args.size()) return false;
    tour_ = std::make_unique<CScreenshotTour>(args[i + 1], args[i + 2], args[i + 3], args[i + 4]);
    i += 4;
    return true;
  }

  void Start() override {
    if (tour_) tour_->Start();
  }

 private:
  std::unique_ptr<CScreenshotTour> tour_;
};

}  // namespace

int main(int argc, char** argv) {
  CScreenshotOption screenshots;
  return RunWizardProgram(argc, argv, &screenshots);
}
