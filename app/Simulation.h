#pragma once

#include <QString>

class QObject;

// --simulate: the simulated aircraft on a pseudo-terminal and the maker's services on localhost,
// owned by parent. Returns the aircraft's device path, or an empty text with the reason in error.
QString startSimulation(QObject *parent, QString *error);
