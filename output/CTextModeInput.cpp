// Block reading with text-mode translation.
#include "output/CTextModeInput.h"

int CTextModeInput::Open(const std::string& path) {
  Close();
  if (int error = file_.Open(path)) return error;
  buffer_.resize(kBlockSize + kReadSlack);
  return 0;
}

void CTextModeInput::Close() {
  file_.Close();
  pos_ = end_ = 0;
}

int CTextModeInput::Fill() {
  if (pos_ < end_) return 0;
  pos_ = end_ = 0;
  return file_.Read(buffer_.data(), kBlockSize, end_);
}
