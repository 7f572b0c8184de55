#include "ui/export/picture_export.h"

#include <utility>

#include "ui/export/plot_export.h"

PictureExport::PictureExport(QImage picture, QString path)
    : picture_(std::move(picture)), path_(std::move(path)) {}

PictureExport::~PictureExport() {
    cancel();
    wait();
}

void PictureExport::start(std::function<void()> finished) {
    writer_ = std::thread([this, finished = std::move(finished)] {
        if (beforeWriting) beforeWriting();
        // The last answer decides: the file is put in place right after a "go on".
        bool dropped = false;
        failure_ = savePicturePng(picture_, path_, [this, &dropped] { return dropped = cancelled_; });
        written_ = failure_.isEmpty() && !dropped;
        finished_ = true;
        if (finished) finished();
    });
}

void PictureExport::wait() {
    if (writer_.joinable()) writer_.join();
}
