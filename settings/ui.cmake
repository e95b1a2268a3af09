# The settings panel and the password window.
add_library(pd_settings_ui STATIC
  SettingsPanel.h SettingsPanel.cpp
  PasswordGate.h PasswordGate.cpp)
target_link_libraries(pd_settings_ui PUBLIC pd_settings_core pd_draw_core pd_data pd_platform_core
  Qt6::Widgets)
