#include "capture/capture_saver.h"

#include "library/model/capture_library.h"
#include "settings/env.h"

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
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back({std::move(bitmap), bitsPerPixel, imageType, std::move(done), false, {}});
    }
    m_wake.notify_all();
}

bool CaptureSaver::idle() const
{
    std::lock_guard lock(m_mutex);
    return m_jobs.empty();
}

void CaptureSaver::Work(std::stop_token stop)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        auto next = std::find_if(m_jobs.begin(), m_jobs.end(), [](const Job& j) { return !j.encoded; });
        if (next == m_jobs.end()) {
            if (!m_wake.wait(lock, stop, [this] {
                    return std::any_of(m_jobs.begin(), m_jobs.end(), [](const Job& j) { return !j.encoded; });
                }))
                return; // stop requested with nothing left to encode
            continue;
        }
        Bitmap pixels = std::move(next->bitmap);
        const int bits = next->bitsPerPixel, type = next->imageType;
        lock.unlock();
        EncodedCapture result = EncodeCapture(std::move(pixels), bits, type);
        lock.lock();
        // Jobs only leave the front once encoded, so this one is still where it was.
        auto job = std::find_if(m_jobs.begin(), m_jobs.end(), [](const Job& j) { return !j.encoded; });
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
            std::lock_guard lock(m_mutex);
            if (m_jobs.empty() || !m_jobs.front().encoded)
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        std::vector<std::string> written;
        SavedCapture saved = SaveEncodedCapture(m_env, job.result, written);
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
            std::unique_lock lock(m_mutex);
            m_encoded.wait(lock, [this] { return m_jobs.empty() || m_jobs.front().encoded; });
            if (m_jobs.empty())
                return;
        }
        WriteReady();
    }
}

} // namespace vistrel
