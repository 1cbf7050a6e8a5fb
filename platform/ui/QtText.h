// Moving the program's 8-bit texts in and out of Qt's strings.
#pragma once

#include <QString>
#include <string>

/// An 8-bit text of the program (string table text, path, log line) as Qt
/// shows it. Paths are the file system's bytes, so the locale's encoding
/// reads both them and the plain ASCII of the string table.
inline QString ToQt(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

/// What the user typed or chose, back as the program's 8-bit text.
inline std::string FromQt(const QString& text) {
  QByteArray bytes = text.toLocal8Bit();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

/// A string table text for Qt.
QString ResText(int32_t id);

/// A text read from the documents (component names, families), which is in
/// the process code page rather than the locale's encoding, as Qt shows it.
QString DocumentText(const std::string& text);
