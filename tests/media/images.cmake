# tests of picture decoding and sounds
prizedraw_add_test(NAME test_picturedecoder KIND widget SOURCES test_picturedecoder.cpp
  LIBS pd_media_images pd_photogen)
prizedraw_add_test(NAME test_photogen KIND widget SOURCES test_photogen.cpp
  LIBS pd_photogen pd_media_images pd_data)
prizedraw_add_test(NAME test_winnersound SOURCES test_winnersound.cpp LIBS pd_media_sounds)
