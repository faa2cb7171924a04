#include "QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace vocalore {

TQtClipboard::TQtClipboard() {
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { FHasBlock = -1; });
}

void TQtClipboard::PutItem(const std::string& block, const std::string& plainTextUtf8) {
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(plainTextUtf8));
    data->setData(QString::fromLatin1(ClipboardMimeType),
                  QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    QGuiApplication::clipboard()->setMimeData(data);
    FHasBlock = -1;
}

std::optional<std::string> TQtClipboard::GetBlock() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QString format = QString::fromLatin1(ClipboardMimeType);
    if (!data || !data->hasFormat(format))
        return std::nullopt;
    const QByteArray bytes = data->data(format);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool TQtClipboard::HasBlock() const {
    if (FHasBlock == -1) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        FHasBlock = data && data->hasFormat(QString::fromLatin1(ClipboardMimeType)) ? 1 : 0;
    }
    return FHasBlock == 1;
}

} // namespace vocalore
