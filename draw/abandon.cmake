# Abandoning the current winner: a command over the draw cycle and the main screen.
add_library(pd_draw_abandon STATIC Abandon.h Abandon.cpp)
target_link_libraries(pd_draw_abandon PUBLIC pd_draw_ui pd_draw_core Qt6::Widgets)
