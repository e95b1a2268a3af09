# pictures decoded at the size they are shown; the built-in winner sound
add_library(pd_media_images STATIC PictureDecoder.h PictureDecoder.cpp)
target_link_libraries(pd_media_images PUBLIC Qt6::Gui)

add_library(pd_media_sounds STATIC WinnerSound.h WinnerSound.cpp sounds.qrc)
target_link_libraries(pd_media_sounds PUBLIC Qt6::Core)
