#include "net/CurlShare.h"

#include <array>
#include <mutex>

namespace eng {

namespace {

class SharedData {
public:
    SharedData() {
        curl_global_init(CURL_GLOBAL_ALL);
        share_ = curl_share_init();
        curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, lock);
        curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, unlock);
        curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
        curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
        curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    }
    SharedData(const SharedData &) = delete;
    SharedData &operator=(const SharedData &) = delete;
    // The share handle is left to the process's end: transfers on worker
    // threads that were let go at a project's close may still use it.
    ~SharedData() = default;

    CURLSH *handle() const { return share_; }

private:
    static void lock(CURL *, curl_lock_data data, curl_lock_access, void *self) {
        static_cast<SharedData *>(self)->locks_[data % kLocks].lock();
    }
    static void unlock(CURL *, curl_lock_data data, void *self) {
        static_cast<SharedData *>(self)->locks_[data % kLocks].unlock();
    }

    static constexpr size_t kLocks = CURL_LOCK_DATA_LAST;
    std::array<std::mutex, kLocks> locks_;
    CURLSH *share_ = nullptr;
};

}  // namespace

CURLSH *sharedCurlData() {
    static SharedData data;
    return data.handle();
}

}  // namespace eng
