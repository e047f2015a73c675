#include "capture/capture_saver.h"

#include "library/model/capture_library.h"
#include "settings/env.h"

#include <algorithm>

namespace vistrel {

CaptureSaver::CaptureSaver(CEnv& env, CaptureLibrary& library, QObject* parent)
    : QObject(parent), m_env(env), m_library(library),
      m_worker([this](std::stop_token stop) { Work(stop); })
{
}

CaptureSaver::~CaptureSaver()
{
    Finish();
    m_worker.request_stop();
    m_wake.notify_all();
}

void CaptureSaver::Submit(Bitmap bitmap, int bitsPerPixel, int imageType, Done done)
{
    m_jobs.Lock()->push_back({std::move(bitmap), bitsPerPixel, imageType, std::move(done), false, {}});
    m_wake.notify_all();
}

namespace {

template <typename Jobs>
auto FirstNotEncoded(Jobs& jobs)
{
    return std::find_if(jobs.begin(), jobs.end(), [](const auto& j) { return !j.encoded; });
}

} // namespace

void CaptureSaver::Work(std::stop_token stop)
{
    for (;;) {
        Bitmap pixels;
        int bits = 0, type = 0;
        {
            auto jobs = m_jobs.Lock();
            if (!m_wake.wait(jobs.lock(), stop, [&] { return FirstNotEncoded(*jobs) != jobs->end(); }))
                return; // stop requested with nothing left to encode
            auto next = FirstNotEncoded(*jobs);
            pixels = std::move(next->bitmap);
            bits = next->bitsPerPixel;
            type = next->imageType;
        }
        EncodedCapture result = EncodeCapture(std::move(pixels), bits, type);
        auto jobs = m_jobs.Lock();
        // Jobs only leave the front once encoded, so this one is still where it was.
        auto job = FirstNotEncoded(*jobs);
        job->result = std::move(result);
        job->encoded = true;
        m_encoded.notify_all();
        QMetaObject::invokeMethod(this, &CaptureSaver::WriteReady, Qt::QueuedConnection);
    }
}

void CaptureSaver::WriteReady()
{
    for (;;) {
        Job job;
        {
            auto jobs = m_jobs.Lock();
            if (jobs->empty() || !jobs->front().encoded)
                return;
            job = std::move(jobs->front());
            jobs->pop_front();
        }
        SavedCapture saved = SaveEncodedCapture(m_env, job.result);
        if (!saved.path.empty())
            m_library.Append(FOLDER_BITMAPS, saved.path);
        if (job.done)
            job.done(saved);
    }
}

void CaptureSaver::Finish()
{
    for (;;) {
        {
            auto jobs = m_jobs.Lock();
            m_encoded.wait(jobs.lock(), [&] { return jobs->empty() || jobs->front().encoded; });
            if (jobs->empty())
                return;
        }
        WriteReady();
    }
}

} // namespace vistrel
