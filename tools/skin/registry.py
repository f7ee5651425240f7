"""The list of skin pictures: each one with its id, its role and where the program draws it."""
from dataclasses import dataclass, field

from PIL import Image


@dataclass
class Picture:
    id: int
    image: Image.Image
    panel: str          # the window that draws it
    role: str           # what it shows
    where: str          # where and how it is drawn
    texts: tuple = ()   # words painted into it
    keep_colours: bool = False  # save with the full colour range (no palette reduction)

    @property
    def size(self):
        return self.image.size


@dataclass
class Skin:
    pictures: dict = field(default_factory=dict)

    def add(self, picture_id, image, panel, role, where, texts=(), keep_colours=False):
        if picture_id in self.pictures:
            raise ValueError(f"picture {picture_id} drawn twice")
        if image.mode != "RGB":
            raise ValueError(f"picture {picture_id} is {image.mode}, the program draws opaque RGB")
        self.pictures[picture_id] = Picture(picture_id, image, panel, role, where, tuple(texts),
                                            keep_colours)
        return image

    def __getitem__(self, picture_id):
        return self.pictures[picture_id].image

    def by_panel(self):
        panels = {}
        for picture in self.pictures.values():
            panels.setdefault(picture.panel, []).append(picture)
        return panels
