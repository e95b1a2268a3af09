# tests of picture decoding and sounds
