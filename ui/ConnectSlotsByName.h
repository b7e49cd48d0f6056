#pragma once

#include <QSet>

class QObject;

// QMetaObject::connectSlotsByName for a page that builds parts of itself later: each call connects
// the receiver's on_<object>_<signal> slots whose objects exist now and that are not yet in
// `connected`, and adds them there. Nothing is warned about; warnUnconnectedSlots does that once
// every part exists, with Qt's own words, so a renamed widget is still noticed.
void connectSlotsByNameOnce(QObject *receiver, QSet<int> *connected);
void warnUnconnectedSlots(const QObject *receiver, const QSet<int> &connected);
