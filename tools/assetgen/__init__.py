"""Generators for mazewalk's data files: models, textures and a top-down maze map."""
