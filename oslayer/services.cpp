// The process-wide service registry: name -> object.
#include "oslayer/os.h"

#include <map>
#include <mutex>
#include <string>

namespace os {

namespace {

struct Services {
    std::mutex m;
    std::map<std::string, void*> objects;
};

Services& Registry() {
    static Services* s = new Services;  // never destroyed (looked up at exit by other libraries)
    return *s;
}

}  // namespace

// Publishing a null object withdraws the name.
void PublishService(const char* name, void* object) {
    if (!name) return;
    auto& r = Registry();
    std::lock_guard<std::mutex> lock(r.m);
    if (object)
        r.objects[name] = object;
    else
        r.objects.erase(name);
}

void* FindService(const char* name) {
    if (!name) return nullptr;
    auto& r = Registry();
    std::lock_guard<std::mutex> lock(r.m);
    auto it = r.objects.find(name);
    return it == r.objects.end() ? nullptr : it->second;
}

}  // namespace os
