// SPDX-License-Identifier: MIT
// Artwork lookup and rendering.
#include "ui/common/Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <map>

namespace ps::ui {
namespace {

// Upper-case name -> resource path of one compiled-in folder.
std::map<QString, QString> FolderIndex(const QString& folder) {
    std::map<QString, QString> names;
    const QDir dir(folder);
    for (const QString& file : dir.entryList({QStringLiteral("*.svg")}, QDir::Files))
        names[QFileInfo(file).completeBaseName().toUpper()] = dir.filePath(file);
    return names;
}

// Built on first use.
const std::map<QString, QString>& Index() {
    static const std::map<QString, QString> index = FolderIndex(QStringLiteral(":/icons"));
    return index;
}

const std::map<QString, QString>& PictureIndex() {
    static const std::map<QString, QString> index = FolderIndex(QStringLiteral(":/pictures"));
    return index;
}

QString Find(const std::map<QString, QString>& index, std::string_view name) {
    auto it = index.find(
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).trimmed().toUpper());
    return it == index.end() ? QString() : it->second;
}

QString PathOrFallback(std::string_view name) {
    QString path = IconResourcePath(name);
    return path.isEmpty() ? IconResourcePath(kFallbackIcon) : path;
}

QPixmap Render(const QString& path, qreal ratio, QSize logicalSize) {
    QPixmap pixmap(logicalSize * ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

}  // namespace

QString IconResourcePath(std::string_view name) {
    return Find(Index(), name);
}

bool HasIcon(std::string_view name) {
    return !IconResourcePath(name).isEmpty();
}

QPixmap ItemPixmap(std::string_view name, qreal devicePixelRatio, QSize logicalSize) {
    return Render(PathOrFallback(name), devicePixelRatio, logicalSize);
}

QIcon ItemIcon(std::string_view name, QSize logicalSize) {
    const QString path = PathOrFallback(name);
    // Rendered once per picture and size: the grid asks again on every page change.
    static std::map<std::pair<QString, std::pair<int, int>>, QIcon> cache;
    const auto key =
        std::make_pair(path, std::make_pair(logicalSize.width(), logicalSize.height()));
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    QIcon& icon = cache[key];
    qreal screenRatio = 1.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        screenRatio = screen->devicePixelRatio();
    for (qreal ratio : {1.0, 2.0, screenRatio}) icon.addPixmap(Render(path, ratio, logicalSize));
    return icon;
}

QStringList IconNames() {
    QStringList names;
    for (const auto& [name, path] : Index()) names << name;
    return names;
}

QString PictureResourcePath(std::string_view name) {
    return Find(PictureIndex(), name);
}

bool HasPicture(std::string_view name) {
    return !PictureResourcePath(name).isEmpty();
}

QPixmap PicturePixmap(std::string_view name, qreal devicePixelRatio, QSize logicalSize) {
    const QString path = PictureResourcePath(name);
    if (path.isEmpty()) return {};
    return Render(path, devicePixelRatio, logicalSize);
}

QStringList PictureNames() {
    QStringList names;
    for (const auto& [name, path] : PictureIndex()) names << name;
    return names;
}

}  // namespace ps::ui
