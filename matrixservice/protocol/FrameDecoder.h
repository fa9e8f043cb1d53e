// Splits a byte stream into matrix-protocol frames and builds frames.
#pragma once

#include <QByteArray>
#include <QString>

namespace MatrixProtocol {

struct Frame
{
    quint16 type = 0;
    quint32 requestId = 0;
    QByteArray payload;
};

// One frame ready to be written: header and payload. The payload must not exceed
// MaxPayloadSize (callers check their counts first); a larger one yields an empty array.
QByteArray encodeFrame(quint16 type, quint32 requestId, const QByteArray &payload = QByteArray());

// Incremental decoder for one connection. Feed it what the socket delivered, then take
// frames until none is left. A wrong magic or a length above the cap puts the decoder
// into its error state for good: the connection must be dropped.
class FrameDecoder
{
public:
    void feed(const char *data, int size);
    void feed(const QByteArray &data) { feed(data.constData(), data.size()); }

    // Takes the next complete frame; false when no complete frame is buffered or on error.
    bool takeFrame(Frame &frame);

    bool hasError() const { return m_error; }
    QString errorString() const { return m_errorString; }
    int bufferedBytes() const { return m_buffer.size() - m_offset; }

private:
    void fail(const QString &why);

    QByteArray m_buffer;
    int m_offset = 0;
    bool m_error = false;
    QString m_errorString;
};

} // namespace MatrixProtocol
