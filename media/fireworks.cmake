# fireworks: movie format, renderer, player, host and overlay
