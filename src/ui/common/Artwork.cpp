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

// Upper-case name -> resource path, built from the compiled-in folder on first use.
const std::map<QString, QString>& Index() {
    static const std::map<QString, QString> index = [] {
        std::map<QString, QString> names;
        const QDir dir(QStringLiteral(":/icons"));
        for (const QString& file : dir.entryList({QStringLiteral("*.svg")}, QDir::Files))
            names[QFileInfo(file).completeBaseName().toUpper()] = dir.filePath(file);
        return names;
    }();
    return index;
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
    const auto& index = Index();
    auto it = index.find(
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).trimmed().toUpper());
    return it == index.end() ? QString() : it->second;
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

}  // namespace ps::ui
