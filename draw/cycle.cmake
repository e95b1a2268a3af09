# The draw cycle and the tier chooser: widget-level controllers over the main screen.
add_library(pd_draw_ui STATIC
  DrawCycle.h DrawCycle.cpp
  TierChooser.h TierChooser.cpp)
target_link_libraries(pd_draw_ui PUBLIC pd_app_screen pd_draw_core pd_data pd_media_images
  pd_media_sounds pd_draw_preview Qt6::Widgets)
