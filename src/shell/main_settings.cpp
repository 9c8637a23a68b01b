#include "main_settings.h"

#include <algorithm>

namespace {

const QString kModal = QStringLiteral("Okna modalne");
const QString kAutoEdit = QStringLiteral("Auto edycja");
const QString kRaised = QStringLiteral("Wypukle przyciski");
const QString kTop = QStringLiteral("Top");
const QString kLeft = QStringLiteral("Left");
const QString kWidth = QStringLiteral("Width");
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
    store.setValue(g, kModal, modalWindows);
    store.setValue(g, kAutoEdit, autoEdit);
    store.setValue(g, kRaised, raisedButtons);
    store.setValue(g, kReminder, reminder);
    store.setValue(g, kButtons, buttons.value_or(QString()));
}

QRect MainSettings::placement(const QRect& available, int height) const
{
    QRect frame(available.left(), available.top(), available.width(), height);
    if (modalWindows)
        return frame;
    if (width && *width > 0)
        frame.setWidth(std::min(*width, available.width()));
    const int x = left.value_or(frame.left());
    const int y = top.value_or(frame.top());
    const int maxX = std::max(available.left(), available.left() + available.width() - frame.width());
    const int maxY = std::max(available.top(), available.top() + available.height() - frame.height());
    frame.moveTo(std::clamp(x, available.left(), maxX), std::clamp(y, available.top(), maxY));
    return frame;
}
