// CMultipleChangeDlg: one new family for many mapping rows at once, chosen
// by component or by current font (dialog 135).
#pragma once

#include "mapping/MultipleChange.h"
#include "platform/ui/CTemplateDialog.h"

class CFontReferenceList;
class CMappingTable;

/// Lists the rows' texts of the mode's column (Original, several may be
/// chosen) and the font files' families (New Font, one); OK gives each
/// chosen row the family with its current size, bold and italic.
class CMultipleChangeDlg : public CTemplateDialog {
 public:
  enum : int32_t { kOriginalGroup = 1029, kOriginalList = 1027, kNewFontList = 1028 };

  CMultipleChangeDlg(MultipleChangeMode mode, CMappingTable& table, const CFontReferenceList& fontFiles,
                     QWidget* parent);

 protected:
  void OnOK() override;

 private:
  MultipleChangeMode mode_;
  CMappingTable& table_;
};
