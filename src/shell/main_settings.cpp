#include "main_settings.h"

#include <algorithm>

namespace {

const QString kModal = QStringLiteral("Okna modalne");
const QString kAutoEdit = QStringLiteral("Auto edycja");
const QString kRaised = QStringLiteral("Wypukle przyciski");
const QString kTop = QStringLiteral("Top");
const QString kLeft = QStringLiteral("Left");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kMaximized = QStringLiteral("Maximized");
const QString kReminder = QStringLiteral("Przypomnienie");
const QString kButtons = QStringLiteral("Buttons");

std::optional<int> storedNumber(const KeyValueSettings& store, const QString& key)
{
    if (!store.contains(MainSettings::group(), key))
        return std::nullopt;
    bool ok = false;
    const int n = store.value(MainSettings::group(), key).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

}  // namespace

MainSettings MainSettings::load(const KeyValueSettings& store)
{
    const QString g = group();
    MainSettings s;
    s.modalWindows = store.flag(g, kModal, s.modalWindows);
    s.autoEdit = store.flag(g, kAutoEdit, s.autoEdit);
    s.raisedButtons = store.flag(g, kRaised, s.raisedButtons);
    s.top = storedNumber(store, kTop);
    s.left = storedNumber(store, kLeft);
    s.width = storedNumber(store, kWidth);
    s.height = storedNumber(store, kHeight);
    s.maximized = store.flag(g, kMaximized, s.maximized);
    s.reminder = store.text(g, kReminder);
    if (store.contains(g, kButtons))
        s.buttons = store.text(g, kButtons);
    return s;
}

void MainSettings::save(KeyValueSettings& store) const
{
    const QString g = group();
    store.setValue(g, kTop, top.value_or(0));
    store.setValue(g, kLeft, left.value_or(0));
    if (width)
        store.setValue(g, kWidth, *width);
    if (height)
        store.setValue(g, kHeight, *height);
    store.setValue(g, kMaximized, maximized);
    store.setValue(g, kModal, modalWindows);
    store.setValue(g, kAutoEdit, autoEdit);
    store.setValue(g, kRaised, raisedButtons);
    store.setValue(g, kReminder, reminder);
    store.setValue(g, kButtons, buttons.value_or(QString()));
}

MainSettings::Place MainSettings::placement(const QRect& available) const
{
    Place place{available, true};
    // A frame stored before the window could be resized (the width alone)
    // is no size the user chose.
    if (modalWindows || !width || !height || *width <= 0 || *height <= 0)
        return place;
    QRect frame(left.value_or(available.left()), top.value_or(available.top()), std::min(*width, available.width()),
                std::min(*height, available.height()));
    const int maxX = available.left() + available.width() - frame.width();
    const int maxY = available.top() + available.height() - frame.height();
    frame.moveTo(std::clamp(frame.left(), available.left(), maxX), std::clamp(frame.top(), available.top(), maxY));
    place.frame = frame;
    place.maximized = maximized;
    return place;
}
