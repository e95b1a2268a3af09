# pictures decoded at the size they are shown; the built-in winner sound
