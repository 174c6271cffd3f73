#pragma once

class MyApplication;

namespace lq {

struct Services;

// Puts the photo library in its places: each site's library node (the
// services' iPhotoNodeFactory), the application's library, read from the
// user's library folder on first use, and the captions of imported
// pictures (the services' captionLookup, answered by that library).
void registerPhotoLibraryServices(Services& services, MyApplication& application);

} // namespace lq
