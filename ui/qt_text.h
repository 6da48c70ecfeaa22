// Texts between the logic (byte strings) and Qt (QString). Bytes map one to
// one onto Latin-1 characters, so byte offsets of the logic's edit fields are
// character offsets in the widgets. Step texts keep "\r\n"; widgets show "\n".
#pragma once

#include <QLineEdit>
#include <QString>
#include <limits>
#include <string>
#include <string_view>

namespace calvoro::ui {

inline QString ToQt(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// "\r\n" line breaks as "\n" for a widget or the clipboard.
inline QString ToQtLines(std::string_view text) {
  QString result = ToQt(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

// A line edit that takes texts of any length: by default Qt cuts them at
// 32767 characters without a word, and a result may have millions of digits.
inline void TakeAnyLength(QLineEdit* edit) { edit->setMaxLength(std::numeric_limits<int>::max()); }

}  // namespace calvoro::ui
