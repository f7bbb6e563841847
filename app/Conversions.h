#pragma once
// Converting the texts of edits into numbers. A text that is not a number throws; the window's
// handler dispatcher catches it, shows the message and the rest of that handler does not run.
#include <QString>
#include <exception>

class EConvertError : public std::exception {
 public:
  explicit EConvertError(QString Message) : FMessage(std::move(Message)) {}
  const QString& Message() const { return FMessage; }
  const char* what() const noexcept override { return "conversion error"; }

 private:
  QString FMessage;
};

// Decimal number in the user's notation; throws "'%s' is not a valid floating point value".
double StrToFloat(const QString& Text);
// Whole number; throws "'%s' is not a valid integer value".
int StrToInt(const QString& Text);
// printf-style text with the user's decimal separator, as the edits are read back.
QString FormatText(const char* Format, ...) __attribute__((format(printf, 1, 2)));
