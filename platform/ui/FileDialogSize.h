// The size Qt's own file dialogs open at.
#pragma once

class QFileDialog;

/// Qt's own file dialog opens too small to show its columns whole
/// ("327...tes"): the size, type and date columns take the width of their
/// contents, and the dialog room for them. The platform's dialogs size
/// themselves and are left alone.
void FitFileDialogColumns(QFileDialog& dialog);
