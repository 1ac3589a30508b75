#include "desktop/qt/FileDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

namespace quorvel::qt {

QString QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ').trimmed();
    if (patterns.isEmpty()) continue;
    filters << (description.contains("(" + patterns + ")")
                    ? description
                    : QString("%1 (%2)").arg(description, patterns).trimmed());
  }
  return filters.join(";;");
}

desktop::FileDialogResult ShowFileDialog(QWidget* parent, const desktop::FileDialogOptions& options,
                                         bool save) {
  // Paths are the file system's bytes; the proposed name is a text.
  QFileDialog dialog(parent, QString::fromStdString(options.DialogTitle),
                     QFile::decodeName(QByteArray::fromStdString(options.InitDir)));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The commands replace a chosen file without asking, as the common dialog
  // does without its overwrite flag.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  QString suffix = QString::fromStdString(options.DefaultExt);
  if (suffix.startsWith('.')) suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  const QString filters = QtNameFilters(options.Filter);
  if (!filters.isEmpty()) dialog.setNameFilter(filters);
  if (!options.FileName.empty()) dialog.selectFile(QString::fromStdString(options.FileName));

  desktop::FileDialogResult result;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
  const QString path = dialog.selectedFiles().constFirst();
  if (path.isEmpty()) return result;
  result.outcome = desktop::FileDialogResult::Outcome::Chosen;
  result.path = QFile::encodeName(path).toStdString();
  return result;
}

}  // namespace quorvel::qt
