# Roll previews of the photos without a usable embedded one, made on worker threads.
add_library(pd_draw_preview STATIC PreviewCache.h PreviewCache.cpp)
target_link_libraries(pd_draw_preview PUBLIC pd_data pd_draw_core pd_media_images Qt6::Gui)
