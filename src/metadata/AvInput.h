#pragma once

struct AVFormatContext;

// An input opened with libavformat, closed with avformat_close_input when the
// object goes, whatever path the caller took.
class AvInput {
public:
    AvInput() = default;
    ~AvInput();
    AvInput(const AvInput&) = delete;
    AvInput& operator=(const AvInput&) = delete;

    // avformat_alloc_context and avformat_open_input; true on success, else the
    // libavformat error code is kept in error().
    bool open(const char* path);
    // avformat_find_stream_info; true on success, else error() holds the code.
    bool findStreamInfo();
    // True when the header gave every stream a media type.
    bool streamTypesKnown() const;
    void close();

    AVFormatContext* context() const { return m_context; }
    int error() const { return m_error; }
    unsigned streamCount() const;
    // Codec type of stream i (libavformat's numbering: video 0, audio 1).
    int streamType(unsigned i) const;
    int streamCodecId(unsigned i) const;
    // How many streams have the codec type `type`.
    int countStreams(int type) const;
    // Index of the first video stream, -1 when there is none.
    int videoStreamIndex() const;
    // Index of the first data, subtitle or attachment stream, -1 when there is none.
    int dataStreamIndex() const;

private:
    AVFormatContext* m_context = nullptr;
    int m_error = 0;
};
