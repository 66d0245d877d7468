#include "app/field_seam.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "codec/gbk_codec.h"

namespace quillet {

GbkText ToField(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToField(std::string_view(utf8.constData(), utf8.size()));
}

QString FromField(const GbkText& field) {
  const std::string utf8 = FieldToUtf8(field);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void FieldSeam::ReadControls(WindowFields& fields) {
  fields.title = ToField(controls_.title->text());
  fields.content = ToField(controls_.content->toPlainText());
  fields.output = ToField(controls_.output->toPlainText());
  ReadLengthClass(fields);
  fields.label1 = ToField(controls_.label1->text());
  fields.status = ToField(controls_.status->text());
  fields.keywords = ToField(controls_.keywords->text());
  shown_output_ = fields.output;
  shown_status_ = fields.status;
  shown_keywords_ = fields.keywords;
}

void FieldSeam::ReadLengthClass(WindowFields& fields) const {
  fields.length_class = controls_.length_class->currentIndex();
}

void FieldSeam::WriteOutputs(const WindowFields& fields) {
  if (fields.output != shown_output_) {
    controls_.output->setPlainText(FromField(fields.output));
    shown_output_ = fields.output;
  }
  if (fields.status != shown_status_) {
    controls_.status->setText(FromField(fields.status));
    shown_status_ = fields.status;
  }
  if (fields.keywords != shown_keywords_) {
    controls_.keywords->setText(FromField(fields.keywords));
    shown_keywords_ = fields.keywords;
  }
}

}  // namespace quillet
