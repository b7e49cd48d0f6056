#include "sim/TelemetrySample.h"

#include "sim/WireWriter.h"

QByteArray TelemetryCodec::record(quint8 type, const TelemetrySample &s)
{
    WireWriter w;
    switch (type) {
    case 0x41:
        w.i16(s.rate_x).i16(s.rate_y).i16(s.rate_z).i16(s.acc_x).i16(s.acc_y).i16(s.acc_z);
        w.i16(s.mag_x).i16(s.mag_y).i16(s.mag_z);
        break;
    case 0x42:
        w.i8(s.roll).i8(s.pitch).u8(s.yaw).i8(s.vel_n).i8(s.vel_e).i8(s.vel_u);
        w.i32(s.f_lat).i32(s.f_lon).i16(s.f_alt);
        break;
    case 0x43:
        w.u8(s.warning_code).u8(s.mean_throttle).u16(s.bat_volt).u16(s.flight_status);
        w.i16(s.shock_exp).u16(s.flight_time).u16(s.dist2home);
        break;
    case 0x44:
        w.u8(s.gps_num).i32(s.gps_lat).i32(s.gps_lon).i16(s.gps_alt).i16(s.gps_v_h);
        w.i16(s.gps_v_v).u16(s.gps_h_acc).u8(s.gps_fix_status);
        break;
    case 0x45:
        w.i16(s.eIMU_acc_x).i16(s.eIMU_acc_y).i16(s.eIMU_acc_z).i16(s.eIMU_roll);
        w.i16(s.eIMU_pitch).u16(s.eIMU_yaw);
        break;
    case 0x46:
        for (qint8 v : s.rc)
            w.i8(v);
        break;
    case 0x47:
        for (quint8 v : s.mot)
            w.u8(v);
        break;
    default:
        break;
    }
    return w.data();
}

QByteArray TelemetryCodec::blackBoxSample(const TelemetrySample &s)
{
    QByteArray sample;
    sample.reserve(kSampleSize);
    for (quint8 type = 0x41; type <= 0x47; ++type) {
        const QByteArray payload = record(type, s);
        quint8 check = 0;
        for (char c : payload)
            check ^= quint8(c);
        sample.append(char(type));
        sample.append(payload);
        sample.append(char(check));
    }
    return sample;
}
