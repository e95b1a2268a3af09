# fireworks: movie format, renderer, player, host and overlay

# The movie format alone: no widgets, no painting; safe to feed any bytes.
add_library(pd_media_core STATIC
  MovieFormat.h MovieFormat.cpp)
target_link_libraries(pd_media_core PUBLIC Qt6::Core)

# Drawing frames, and the seven movies compiled in.
add_library(pd_media_render STATIC
  MovieRenderer.h MovieRenderer.cpp
  FireworksMovies.h FireworksMovies.cpp
  fireworks.qrc)
target_link_libraries(pd_media_render PUBLIC pd_media_core Qt6::Gui)

# The player widget, the movie host and the overlay.
add_library(pd_media_fireworks STATIC
  Celebration.h
  MoviePlayer.h MoviePlayer.cpp
  MovieHost.h MovieHost.cpp
  FireworksOverlay.h FireworksOverlay.cpp)
target_link_libraries(pd_media_fireworks PUBLIC pd_media_render pd_data pd_platform_core Qt6::Widgets)
pkg_check_modules(XCB IMPORTED_TARGET xcb)
if(XCB_FOUND)
  target_link_libraries(pd_media_fireworks PRIVATE PkgConfig::XCB)
  target_compile_definitions(pd_media_fireworks PRIVATE PRIZEDRAW_WITH_XCB)
endif()
