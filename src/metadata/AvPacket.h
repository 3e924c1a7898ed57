#pragma once

extern "C" {
#include <libavcodec/packet.h>
}

// A libavcodec packet owned for the length of a read loop.
class AvPacket {
public:
    AvPacket() : m_packet(av_packet_alloc()) {}
    ~AvPacket() { av_packet_free(&m_packet); }
    AvPacket(const AvPacket&) = delete;
    AvPacket& operator=(const AvPacket&) = delete;

    bool valid() const { return m_packet != nullptr; }
    AVPacket* get() const { return m_packet; }
    AVPacket* operator->() const { return m_packet; }

private:
    AVPacket* m_packet;
};
