#include "blackbox/BlackBoxSample.h"

#include "link/FrameReader.h"

namespace {
// Part sizes of a sample: leading byte + payload + trailing byte.
constexpr int kPartSizes[7] = {20, 18, 14, 20, 14, 10, 10};

const char *const kTitles[BlackBoxSample::kColumns]
    = {"0-index",         "1-timer",          "2-rate_x",          "3-rate_y",
       "4-rate_z",        "5-acc_x",          "6-acc_y",           "7-acc_z",
       "8-mag_x",         "9-mag_y",          "10-mag_z",          "11-roll",
       "12-Pitch",        "13-yaw",           "14-vel_n",          "15-vel_e",
       "16-vel_u",        "17-f_lat",         "18-f_lon",          "19-f_alt",
       "20-warning_code", "21-mean_throttle", "22-bat_volt",       "23-flight_status",
       "24-shock_exp",    "25-flight_time",   "26-dist2home",      "27-gps_num",
       "28-gps_lat",      "29-gps_lon",       "30-gps_alt",        "31-gps_v_h",
       "32-gps_v_v",      "33-gps_h_acc",     "34-gps_fix_status", "35-eIMU_acc_x",
       "36-eIMU_acc_y",   "37-eIMU_acc_z",    "38-eIMU_roll",      "39-eIMU_pitch",
       "40-eIMU_yaw",     "41-rc_in_roll",    "42-rc_in_pitch",    "43-rc_in_thr",
       "44-rc_in_yaw",    "45-rc_in_mode",    "46-rc_in_CH6",      "47-rc_in_CH7",
       "48-rc_in_CH8",    "49-mot_1",         "50-mot_2",          "51-mot_3",
       "52-mot_4",        "53-mot_5",         "54-mot_6",          "55-mot_7",
       "56-mot_8"};

// Builds a line of tab-terminated values. Scaled values are written from the integer, so the
// decimals are exact: -5 with 2 decimals is "-0.05".
class Line
{
public:
    Line &integer(qint64 v)
    {
        m_line += QByteArray::number(v);
        m_line += '\t';
        return *this;
    }
    Line &fixed(qint64 v, int decimals)
    {
        qint64 scale = 1;
        for (int i = 0; i < decimals; ++i)
            scale *= 10;
        const quint64 magnitude = v < 0 ? quint64(-v) : quint64(v);
        if (v < 0)
            m_line += '-';
        m_line += QByteArray::number(magnitude / quint64(scale));
        m_line += '.';
        m_line += QByteArray::number(magnitude % quint64(scale)).rightJustified(decimals, '0');
        m_line += '\t';
        return *this;
    }
    QByteArray take() { return m_line + '\n'; }

private:
    QByteArray m_line;
};
} // namespace

BlackBoxSample BlackBoxSample::decode(const QByteArray &bytes)
{
    // Frame readers with offset 0 at the payload: they read missing bytes as 0.
    QByteArray payloads[7];
    int at = 0;
    for (int p = 0; p < 7; ++p) {
        payloads[p] = bytes.mid(at + 1, kPartSizes[p] - 2);
        at += kPartSizes[p];
    }
    BlackBoxSample s;
    const FrameReader r1(payloads[0]);
    s.rate_x = r1.i16(0);
    s.rate_y = r1.i16(2);
    s.rate_z = r1.i16(4);
    s.acc_x = r1.i16(6);
    s.acc_y = r1.i16(8);
    s.acc_z = r1.i16(10);
    s.mag_x = r1.i16(12);
    s.mag_y = r1.i16(14);
    s.mag_z = r1.i16(16);
    const FrameReader r2(payloads[1]);
    s.roll = r2.i8(0);
    s.Pitch = r2.i8(1);
    s.yaw = r2.u8(2);
    s.vel_n = r2.i8(3);
    s.vel_e = r2.i8(4);
    s.vel_u = r2.i8(5);
    s.f_lat = r2.i32(6);
    s.f_lon = r2.i32(10);
    s.f_alt = r2.i16(14);
    const FrameReader r3(payloads[2]);
    s.warning_code = r3.u8(0);
    s.mean_throttle = r3.u8(1);
    s.bat_volt = r3.u16(2);
    s.flight_status = r3.u16(4);
    s.shock_exp = r3.i16(6);
    s.flight_time = r3.u16(8);
    s.dist2home = r3.u16(10);
    const FrameReader r4(payloads[3]);
    s.gps_num = r4.u8(0);
    s.gps_lat = r4.i32(1);
    s.gps_lon = r4.i32(5);
    s.gps_alt = r4.i16(9);
    s.gps_v_h = r4.i16(11);
    s.gps_v_v = r4.i16(13);
    s.gps_h_acc = r4.u16(15);
    s.gps_fix_status = r4.u8(17);
    const FrameReader r5(payloads[4]);
    s.eIMU_acc_x = r5.i16(0);
    s.eIMU_acc_y = r5.i16(2);
    s.eIMU_acc_z = r5.i16(4);
    s.eIMU_roll = r5.i16(6);
    s.eIMU_pitch = r5.i16(8);
    s.eIMU_yaw = r5.u16(10);
    const FrameReader r6(payloads[5]);
    const FrameReader r7(payloads[6]);
    for (int i = 0; i < 8; ++i) {
        s.rc_in[size_t(i)] = r6.i8(i);
        s.mot[size_t(i)] = r7.u8(i);
    }
    return s;
}

QByteArray BlackBoxSample::exportLine(uint32_t rowIndex, qint64 timer) const
{
    Line l;
    l.integer(rowIndex).integer(timer);
    l.fixed(rate_x, 2).fixed(rate_y, 2).fixed(rate_z, 2);
    l.fixed(acc_x, 2).fixed(acc_y, 2).fixed(acc_z, 2);
    l.integer(mag_x).integer(mag_y).integer(mag_z);
    l.integer(roll).integer(Pitch).integer(yaw * 2);
    l.fixed(vel_n, 1).fixed(vel_e, 1).fixed(vel_u, 1);
    l.fixed(f_lat, 7).fixed(f_lon, 7).fixed(f_alt, 1);
    l.integer(warning_code).integer(mean_throttle).fixed(bat_volt, 2).integer(flight_status);
    l.fixed(shock_exp, 3).integer(flight_time).integer(dist2home);
    l.integer(gps_num).fixed(gps_lat, 7).fixed(gps_lon, 7).fixed(gps_alt, 1);
    l.fixed(gps_v_h, 2).fixed(gps_v_v, 2).fixed(gps_h_acc, 3).integer(gps_fix_status);
    l.fixed(eIMU_acc_x, 2).fixed(eIMU_acc_y, 2).fixed(eIMU_acc_z, 2);
    l.fixed(eIMU_roll, 2).fixed(eIMU_pitch, 2).fixed(eIMU_yaw, 2);
    for (int8_t v : rc_in)
        l.integer(v);
    for (uint8_t v : mot)
        l.integer(v);
    return l.take();
}

QByteArray BlackBoxSample::exportHeader()
{
    QByteArray header;
    for (const char *title : kTitles)
        header.append(title).append('\t');
    return header + '\n';
}
