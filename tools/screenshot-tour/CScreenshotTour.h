// A scripted walk through the wizard that saves pictures of its windows,
// for the documentation and for checking the look (tools/screenshots.sh).
#pragma once

#include <QObject>
#include <QString>

class CMappingPage;
class QWidget;

/// Walks through splash, page A, the about box, the font files' open
/// dialog, the Append/Replace question, page B after loading and its help
/// window, page C with a few rows mapped, both multiple-change dialogs,
/// Show Filenames and a finished Run, saving each as a PNG in a folder,
/// then ends the program through page C's "&Exit".
class CScreenshotTour : public QObject {
 public:
  /// Pictures go to \p folder; page A is filled with the three texts.
  CScreenshotTour(QString folder, QString translatedFiles, QString fontFiles, QString outputDirectory);

  /// Starts the walk; call before page A runs.
  void Start();

 private:
  void ShootSplash();
  void FillPageA();
  void ShootAbout();
  void ShootOpenDialog();
  void ShootAppendReplace();
  void ShootLoadPage();
  void ShootMappingPage(CMappingPage& page);
  void Save(QWidget* window, const QString& name);

  QString folder_;
  QString translatedFiles_;
  QString fontFiles_;
  QString outputDirectory_;
};
