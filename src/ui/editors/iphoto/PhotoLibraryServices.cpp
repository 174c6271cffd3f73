#include "ui/editors/iphoto/PhotoLibraryServices.h"

#include "ui/editors/iphoto/iPhoto.h"
#include "application/MyApplication.h"
#include "platform/Services.h"

namespace lq {

void registerPhotoLibraryServices(Services& services, MyApplication& application)
{
    services.iPhotoNodeFactory = [] { return iPhoto::create(); };
    application.setIPhotoLibraryFactory([] {
        std::shared_ptr<iPhoto> library = iPhoto::create();
        library->importFromLibrary();
        return library;
    });
    // The application the lookup asks is the one alive when a picture is imported.
    services.captionLookup = [](const QString& file) {
        iPhoto* library = iPhoto::cast(MyApplication::shared().iPhotoLibrary().get());
        return library ? library->captionForFile(file) : QString();
    };
}

} // namespace lq
