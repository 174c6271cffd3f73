// lightbox.js: shows the full picture of an album thumbnail over the page.
//
// Links with rel="lightbox" or rel="lightbox[group]" open their picture in
// an overlay instead of a new page; the link's title is the caption. The
// pictures of one group can be stepped through with the arrows (or the
// arrow keys); a click outside the picture, the close button or Escape ends
// the view. The pictures of the overlay are in "bitmaps/".
"use strict";

const lqLightbox = (function () {
    const images = {
        loading: "bitmaps/loading.gif",
        close: "bitmaps/close.gif",
        next: "bitmaps/next.gif",
        prev: "bitmaps/prev.gif",
    };
    let overlay = null;
    let box = null;
    let picture = null;
    let caption = null;
    let counter = null;
    let loading = null;
    let prevButton = null;
    let nextButton = null;
    let group = [];
    let index = 0;

    function make(tag, id, parent) {
        const element = document.createElement(tag);
        if (id) element.id = id;
        if (parent) parent.appendChild(element);
        return element;
    }

    function build() {
        if (overlay) return;
        overlay = make("div", "lqlb-overlay", document.body);
        overlay.addEventListener("click", close);
        box = make("div", "lqlb-box", document.body);
        box.addEventListener("click", event => {
            if (event.target === box) close();
        });
        // The photo's frame and, under it, the bar with the caption and the
        // close button, as wide as the frame whatever the window's width.
        const content = make("div", "lqlb-content", box);
        const frame = make("div", "lqlb-frame", content);
        loading = make("img", "lqlb-loading", frame);
        loading.src = images.loading;
        loading.alt = "";
        picture = make("img", "lqlb-picture", frame);
        picture.alt = "";
        prevButton = make("a", "lqlb-prev", frame);
        prevButton.href = "#";
        prevButton.style.backgroundImage = "url(" + images.prev + ")";
        prevButton.addEventListener("click", event => {
            event.preventDefault();
            step(-1);
        });
        nextButton = make("a", "lqlb-next", frame);
        nextButton.href = "#";
        nextButton.style.backgroundImage = "url(" + images.next + ")";
        nextButton.addEventListener("click", event => {
            event.preventDefault();
            step(1);
        });
        const bottom = make("div", "lqlb-bottom", content);
        caption = make("span", "lqlb-caption", bottom);
        counter = make("span", "lqlb-counter", bottom);
        const closeLink = make("a", "lqlb-close", bottom);
        closeLink.href = "#";
        const closeImage = make("img", null, closeLink);
        closeImage.src = images.close;
        closeImage.alt = "Close";
        closeLink.addEventListener("click", event => {
            event.preventDefault();
            close();
        });
    }

    function groupOf(link) {
        const rel = link.getAttribute("rel") || "";
        if (rel === "lightbox") return [link];
        return Array.from(document.querySelectorAll("a[rel]")).filter(a => a.getAttribute("rel") === rel);
    }

    function show(at) {
        index = at;
        const link = group[index];
        loading.style.display = "block";
        picture.style.display = "none";
        picture.onload = () => {
            loading.style.display = "none";
            picture.style.display = "block";
        };
        picture.src = link.getAttribute("href");
        caption.textContent = link.getAttribute("title") || "";
        counter.textContent = group.length > 1 ? "Image " + (index + 1) + " of " + group.length : "";
        prevButton.style.display = index > 0 ? "block" : "none";
        nextButton.style.display = index < group.length - 1 ? "block" : "none";
    }

    function step(direction) {
        const at = index + direction;
        if (at >= 0 && at < group.length) show(at);
    }

    function open(link) {
        build();
        group = groupOf(link);
        overlay.style.display = "block";
        box.style.display = "block";
        box.style.top = window.scrollY + Math.round(window.innerHeight / 10) + "px";
        show(Math.max(0, group.indexOf(link)));
    }

    function close() {
        if (!overlay) return;
        overlay.style.display = "none";
        box.style.display = "none";
        picture.removeAttribute("src");
    }

    function isOpen() {
        return !!overlay && overlay.style.display === "block";
    }

    document.addEventListener("click", event => {
        const link = event.target instanceof Element ? event.target.closest("a[rel]") : null;
        if (!link || !/^lightbox/.test(link.getAttribute("rel") || "")) return;
        event.preventDefault();
        open(link);
    });

    document.addEventListener("keydown", event => {
        if (!isOpen()) return;
        if (event.key === "Escape") close();
        else if (event.key === "ArrowLeft") step(-1);
        else if (event.key === "ArrowRight") step(1);
    });

    return { open, close, isOpen, step };
})();
