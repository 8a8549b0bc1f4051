// The FTP reply reader and the reply texts it hands on: any bytes, cut into packets of any
// size, give replies with valid codes or a failed reader, never a crash or endless growth.

#include "projects/core/FtpReply.h"

#include <QHostAddress>
#include <cstdint>
#include <cstdlib>

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte sets the packet size, so that replies split anywhere are tried too.
    const size_t packet = 1 + data[0] % 64;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    TFtpReplyReader reader;
    for (qsizetype at = 0; at < input.size(); at += qsizetype(packet)) {
        if (!reader.feed(input.mid(at, qsizetype(packet))))
            break;
        while (std::optional<TFtpReply> r = reader.next()) {
            if (r->Code < 100 || r->Code > 599 || r->Lines.isEmpty())
                std::abort();
            const QString text = r->text();
            (void)quotedPath(text);
            (void)parseEpsvReply(text);
            QHostAddress host;
            quint16 port = 0;
            if (parsePasvReply(text, host, port) && port == 0)
                std::abort();
            (void)parseFtpTime(r->firstLine());
        }
    }
    return 0;
}
