# tests of the fireworks
