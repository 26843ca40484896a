// SPDX-License-Identifier: GPL-3.0-or-later
// CTagDlg: the VBR header tags of one file, page by page, with the music CRC check.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "attribute_texts.h"
#include "mp3_info.h"
#include "tag_rows.h"

class QTabWidget;

namespace vornik {

class CTagPage;
class CTagThread;

class CTagDlg : public QDialog {
    Q_OBJECT

  public:
    // `record` and `texts` are the list row's; the CRC worker starts at once when the file
    // has a Lame page. The dialog deletes itself when it is closed.
    CTagDlg(const Mp3Info& record, const AttributeTexts& texts, const std::string& path,
            const QString& displayName, QWidget* parent = nullptr);
    ~CTagDlg() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    CTagPage* Page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    MusicCrcState CrcState() const { return crc_; }
    const QString& CrcFailure() const { return crcFailure_; }
    QTabWidget* Tabs() const { return tabs_; }

  private:
    void CrcProgress(int percent);
    void CrcFinished(bool done, std::uint16_t crc, const QString& failure);
    CTagPage* LamePage() const;

    Mp3Info record_;
    AttributeTexts texts_;
    QTabWidget* tabs_;
    std::vector<CTagPage*> pages_;
    MusicCrcState crc_ = MusicCrcState::Calculating;
    QString crcFailure_;
    std::unique_ptr<CTagThread> worker_;
};

}  // namespace vornik
