#include "hub/SetFields.h"

#include <QJsonDocument>

namespace tavelo::hub {

std::optional<std::vector<FieldEntry>> FieldsOf(const QByteArray& set) {
  const DescribedFile file = DescribeFileBytes(
      reinterpret_cast<const std::uint8_t*>(set.constData()), static_cast<std::size_t>(set.size()));
  if (!file.ok || file.kind != PcFileKind::kParameterFile) return std::nullopt;
  return file.fields;
}

SetChanges ChangesBetween(const QByteArray& before, const QByteArray& after) {
  SetChanges out;
  const auto was = FieldsOf(before);
  const auto now = FieldsOf(after);
  if (!was || !now) return out;
  for (const FieldDifference& d : DiffFieldList(*was, *now)) {
    const QString name = QString::fromStdString(d.key);
    out.changes.append(QJsonObject{{QStringLiteral("name"), name},
                                   {QStringLiteral("from"), QString::fromStdString(d.a)},
                                   {QStringLiteral("to"), QString::fromStdString(d.b)}});
    for (const FieldEntry& field : *now) {
      if (field.key != d.key) continue;
      // A field's JSON form is one value; wrapped so Qt reads scalars too.
      const QJsonDocument wrapped =
          QJsonDocument::fromJson("[" + QByteArray::fromStdString(field.json) + "]");
      out.values.insert(name, wrapped.array().at(0));
      break;
    }
  }
  return out;
}

}  // namespace tavelo::hub
