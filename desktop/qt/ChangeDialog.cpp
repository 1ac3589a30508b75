#include "desktop/qt/ChangeDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/Messages.h"

namespace quorvel::qt {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Utf8(const QString& text) {
  return text.toUtf8().toStdString();
}

}  // namespace

ChangeDialog::ChangeDialog(QWidget* parent) : QDialog(parent) {
  namespace m = desktop::msg;
  setObjectName("frmQuorvelChange");
  setWindowTitle(Text(m::ChangeDialogTitle));

  txtSearch_ = new QLineEdit(this);
  txtSearch_->setObjectName("txtSearch");
  cboAccess_ = new QComboBox(this);
  cboAccess_->setObjectName("cboAccess");
  for (const auto name : m::AccessNames) cboAccess_->addItem(Text(name));

  auto* form = new QFormLayout;
  auto* searchLabel = new QLabel(Text(m::SearchLabel), this);
  searchLabel->setBuddy(txtSearch_);
  auto* accessLabel = new QLabel(Text(m::AccessLabel), this);
  accessLabel->setBuddy(cboAccess_);
  form->addRow(searchLabel, txtSearch_);
  form->addRow(accessLabel, cboAccess_);

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(Text(m::ContinueCaption), QDialogButtonBox::AcceptRole);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  auto* preview = buttons->addButton(Text(m::PreviewCaption), QDialogButtonBox::ActionRole);
  preview->setObjectName("cmdPreview");
  auto* cancel = buttons->addButton(Text(m::CancelCaption), QDialogButtonBox::RejectRole);
  cancel->setObjectName("cmdCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(preview, &QPushButton::clicked, this, [this] {
    if (preview_) preview_(Values());
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

desktop::ChangeDialogValues ChangeDialog::Values() const {
  return {Utf8(cboAccess_->currentText()), Utf8(txtSearch_->text())};
}

bool ChangeDialog::Show(desktop::ChangeDialogValues& values,
                        const std::function<void(const desktop::ChangeDialogValues&)>& preview) {
  txtSearch_->setText(Text(values.searchText));
  // A drop-down list shows only its items; an access text the logic never
  // offered leaves none chosen.
  cboAccess_->setCurrentIndex(cboAccess_->findText(Text(values.accessText)));
  txtSearch_->setFocus();
  preview_ = preview;
  const bool changed = exec() == QDialog::Accepted;
  preview_ = nullptr;
  values = Values();
  return changed;
}

}  // namespace quorvel::qt
