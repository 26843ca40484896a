// SPDX-License-Identifier: GPL-3.0-or-later
#include "tag_dlg.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "tag_page.h"
#include "tag_thread.h"

namespace vornik {

CTagDlg::CTagDlg(const Mp3Info& record, const AttributeTexts& texts, const std::string& path,
                 const QString& displayName, QWidget* parent)
    : QDialog(parent), record_(record), texts_(texts), tabs_(new QTabWidget) {
    setWindowTitle(tr("Tags - [") + displayName + "]");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    for (const TagPageKind kind : TagPagesOf(record_)) {
        auto* page = new CTagPage(kind);
        switch (kind) {
            case TagPageKind::Lame:
                page->SetRows(LameTagRows(record_, texts_, crc_));
                break;
            case TagPageKind::Xing:
                page->SetRows(XingTagRows(record_));
                break;
            case TagPageKind::Vbri:
                page->SetRows(VbriTagRows(record_));
                break;
        }
        pages_.push_back(page);
        tabs_->addTab(page, TagPageCaption(kind));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons);
    resize(420, 460);

    if (LamePage() != nullptr) {
        worker_ = std::make_unique<CTagThread>(
            path, record_,
            TagCrcReceiver{[this](int percent) { CrcProgress(percent); },
                           [this](bool done, std::uint16_t crc, const QString& failure) {
                               CrcFinished(done, crc, failure);
                           }});
    }
}

// Closing does not wait for the worker: it ends on its own and hands nothing back.
CTagDlg::~CTagDlg() = default;

CTagPage* CTagDlg::LamePage() const {
    for (CTagPage* page : pages_) {
        if (page->Kind() == TagPageKind::Lame) {
            return page;
        }
    }
    return nullptr;
}

void CTagDlg::CrcProgress(int percent) {
    if (CTagPage* page = LamePage()) {
        page->Progress()->setValue(percent);
    }
}

void CTagDlg::CrcFinished(bool done, std::uint16_t crc, const QString& failure) {
    if (!done) {
        // No verdict: a CRC that could not be computed says nothing about the music.
        crc_ = MusicCrcState::Failed;
        crcFailure_ = failure;
        auto* box = new QMessageBox(QMessageBox::Warning, tr("Error"), tr("Error calculating CRC"),
                                    QMessageBox::Ok, this);
        box->setInformativeText(failure);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    } else {
        record_.musicCrcDone = true;
        record_.musicCrcOk = crc == record_.lameMusicCrc;
        crc_ = record_.musicCrcOk ? MusicCrcState::Ok : MusicCrcState::Corrupt;
    }
    if (CTagPage* page = LamePage()) {
        page->SetRows(LameTagRows(record_, texts_, crc_, crcFailure_));
        page->Progress()->setValue(0);
        page->Progress()->setTextVisible(false);  // "0%" under a verdict would mislead
    }
}

}  // namespace vornik
