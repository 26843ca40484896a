// SPDX-License-Identifier: GPL-3.0-or-later
#include "prop_list_filetypes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "file_type_filter.h"

namespace vornik {
namespace {

// The list box sorts its entries without regard to letter case.
class ExtensionItem : public QListWidgetItem {
  public:
    explicit ExtensionItem(const QString& text) : QListWidgetItem(text) {}
    bool operator<(const QListWidgetItem& other) const override {
        const int order = text().compare(other.text(), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : text() < other.text();
    }
};

constexpr int kMaxExtensionLength = 259;

// The formats the engine reads, as a two-column table.
QWidget* SupportedTypes() {
    auto* table = new QWidget;
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char*, const char*> rows[] = {
        {"mpeg audio", "(mp3 etc)"}, {"mpegplus", "(mpc etc)"}, {"mpegpro", "(limited)"}};
    int row = 0;
    for (const auto& [name, note] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(name)), row, 0);
        grid->addWidget(new QLabel(QString::fromLatin1(note)), row, 1);
        ++row;
    }
    grid->setColumnStretch(2, 1);
    return table;
}

}  // namespace

CPropListFiletypes::CPropListFiletypes(ListPageValues& values, QWidget* parent)
    : CSettingsPage(parent),
      values_(values),
      list_(new QListWidget),
      edit_(new QLineEdit),
      add_(new QPushButton(tr("Add"))),
      remove_(new QPushButton(tr("Remove"))) {
    list_->setSortingEnabled(true);
    for (const std::string& extension : SplitFileTypes(values.fileTypes)) {
        list_->addItem(new ExtensionItem(QString::fromStdString(extension)));
    }
    edit_->setMaxLength(kMaxExtensionLength);
    connect(add_, &QPushButton::clicked, this, &CPropListFiletypes::Add);
    connect(remove_, &QPushButton::clicked, this, &CPropListFiletypes::Remove);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(list_, 1);
    listRow->addLayout(buttons);

    auto* editRow = new QHBoxLayout;
    auto* editLabel = new QLabel(tr("New Extension: "));
    editLabel->setBuddy(edit_);
    editRow->addWidget(editLabel);
    editRow->addWidget(edit_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Extensions:")));
    layout->addLayout(listRow, 1);
    layout->addLayout(editRow);
    layout->addWidget(new QLabel(tr("Supported Types:")));
    layout->addWidget(SupportedTypes());
}

void CPropListFiletypes::Add() {
    if (const std::optional<std::string> extension = ExtensionToAdd(edit_->text().toStdString())) {
        list_->addItem(new ExtensionItem(QString::fromStdString(*extension)));
    }
}

void CPropListFiletypes::Remove() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (!selected.isEmpty()) {
        delete selected.front();
    }
}

void CPropListFiletypes::Apply() {
    std::vector<std::string> extensions;
    for (int row = 0; row < list_->count(); ++row) {
        extensions.push_back(list_->item(row)->text().toStdString());
    }
    values_.fileTypes = JoinFileTypes(extensions);
}

}  // namespace vornik
