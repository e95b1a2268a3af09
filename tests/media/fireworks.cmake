# tests of the fireworks
prizedraw_add_test(NAME test_movieformat SOURCES test_movieformat.cpp LIBS pd_media_core)
prizedraw_add_test(NAME test_movierenderer KIND widget SOURCES test_movierenderer.cpp
  LIBS pd_media_render)
prizedraw_add_test(NAME test_moviehost KIND widget SOURCES test_moviehost.cpp
  LIBS pd_media_fireworks pd_platform_fake)
prizedraw_add_test(NAME test_fireworksoverlay KIND widget SOURCES test_fireworksoverlay.cpp
  LIBS pd_media_fireworks pd_platform_fake)
prizedraw_add_test(NAME test_e2e_overlay KIND x11 TIMEOUT 120 SOURCES test_e2e_overlay.cpp
  LIBS pd_photogen pd_draw_core pd_data pd_test_x11)
add_dependencies(test_e2e_overlay prizedraw)
