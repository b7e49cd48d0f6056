// A block's time stamp (seven bytes) and one sample (the rest, any length) as the export decodes
// and writes them: 57 numbers, each followed by a tab, and a time that reads back as itself.
#include "blackbox/BlackBoxSample.h"
#include "blackbox/LumBlackBoxesData.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 7)
        return 0;
    const QString stamp = LumBlackBoxesData::stampText(
        (data[0] << 8) | data[1], data[2], data[3], data[4], data[5], data[6]);
    const QDateTime utc = LumBlackBoxesData::utcFromStampText(stamp);
    if (utc.isValid()
        && utc.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) != stamp.rightJustified(19, u'0'))
        std::abort();
    const qint64 timer = utc.isValid() ? utc.toSecsSinceEpoch() : 0;
    LumBlackBoxesData::localDateAndTime(utc);
    const QByteArray sample(reinterpret_cast<const char *>(data + 7), qsizetype(size - 7));
    const QByteArray line = BlackBoxSample::decode(sample).exportLine(uint32_t(size), timer);
    const QList<QByteArray> values = line.split('\t');
    if (values.size() != BlackBoxSample::kColumns + 1 || values.last() != "\n")
        std::abort();
    for (qsizetype i = 0; i < BlackBoxSample::kColumns; ++i) {
        bool number = false;
        values[i].toDouble(&number);
        if (!number)
            std::abort();
    }
    return 0;
}
