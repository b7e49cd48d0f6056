#pragma once

// Makes the simulated services speak HTTPS with a self-signed certificate (CN 127.0.0.1, made
// for these tests only), which the program must refuse like any certificate it cannot verify.

#include "sim/SimulatedServices.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QTest>

inline bool serveWithUntrustedCertificate(SimulatedServices &services)
{
    QFile cert(QFINDTESTDATA("data/untrusted-cert.pem"));
    QFile key(QFINDTESTDATA("data/untrusted-key.pem"));
    if (!cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
        return false;
    services.setTls(QSslCertificate(cert.readAll()), QSslKey(key.readAll(), QSsl::Rsa));
    return services.start();
}
