// lumenquill.js: the script of every page that Lumenquill generates.
//
// The pages call, in the page head (before the body exists):
//   fc.addfs(id, lineHeight, fontSize, selector)   a font check
//   ss = new slideshow("ss") / new beforeafter("ss"), then its settings and
//   ss.add_slide(...) once per slide
// in the body:
//   ss.firstslide = n; ss.init();                   start the show
//   ss.previous(), ss.next(), ss.play(), ss.beforeafter(), ss.goto_slide(i)
//   insertQuicktime(...), insertFlash(...)          movies of Vorn Boxes
//   new rollOver(ident, normal, over)               image rollovers
//   clickLink(encoded)                              e-mail links
"use strict";

// --- Font checks -------------------------------------------------------------------------
//
// Each check names an element of the page (the first paragraph of a kind)
// with the line height the page was laid out for. After the page has
// loaded, the element is measured; when the browser's line is taller than
// planned (a substituted font), the font size of the rules matching the
// selector is scaled down so that the lines fit where the layout put them.
var fc = (function () {
    const checks = [];
    let done = false;

    function rulesFor(selector) {
        const found = [];
        for (const sheet of Array.from(document.styleSheets)) {
            let rules;
            try {
                rules = sheet.cssRules;
            } catch (e) {
                continue; // a sheet of another origin cannot be read
            }
            if (!rules) continue;
            for (const rule of Array.from(rules)) {
                if (rule.selectorText && rule.selectorText.split(",").some(s => s.trim() === selector)) {
                    found.push(rule);
                }
            }
        }
        return found;
    }

    function check(entry) {
        const element = document.getElementById(entry.id);
        if (!element || !(entry.lineHeight > 0) || !(entry.fontSize > 0)) return;
        const measured = element.getBoundingClientRect().height;
        if (!(measured > entry.lineHeight)) return;
        const size = Math.max(1, Math.floor(entry.fontSize * entry.lineHeight / measured));
        const rules = rulesFor(entry.selector);
        if (rules.length > 0) {
            for (const rule of rules) rule.style.fontSize = size + "px";
        } else {
            for (const node of Array.from(document.querySelectorAll(entry.selector))) node.style.fontSize = size + "px";
        }
        entry.adjustedSize = size;
    }

    function runAll() {
        if (done) return;
        done = true;
        checks.forEach(check);
    }

    window.addEventListener("load", runAll);

    return {
        addfs(id, lineHeight, fontSize, selector) {
            const entry = { id: String(id), lineHeight: Number(lineHeight), fontSize: Number(fontSize), selector: String(selector) };
            checks.push(entry);
            if (done) check(entry);
        },
        // The checks registered so far (for a look from the console).
        get checks() {
            return checks.slice();
        },
    };
})();

// --- Slideshows --------------------------------------------------------------------------

const lqShow = {
    byId(id) {
        return document.getElementById(id);
    },
    setLabel(id, label) {
        const link = lqShow.byId(id);
        if (!link) return;
        // A control link holds its text in the element itself.
        link.textContent = label;
    },
    showCaption(number, previous) {
        if (previous !== undefined && previous !== null) {
            const old = lqShow.byId("stext" + previous);
            if (old) old.style.display = "none";
        }
        const block = lqShow.byId("stext" + number);
        if (block) block.style.display = "block";
    },
    // Puts a slide picture into a viewer image at its place on the page.
    place(viewer, slide, picture) {
        viewer.src = picture;
        viewer.style.top = slide.y + "px";
        viewer.style.left = slide.x + "px";
        viewer.style.width = slide.w + "px";
        viewer.style.height = slide.h + "px";
    },
    picture(number, fullSize) {
        return (fullSize ? "pictures/image" : "pictures/slide") + number + ".jpg";
    },
    shuffled(count) {
        const order = Array.from({ length: count }, (_, i) => i);
        for (let i = count - 1; i > 0; i--) {
            const j = Math.floor(Math.random() * (i + 1));
            [order[i], order[j]] = [order[j], order[i]];
        }
        return order;
    },
};

// A slideshow: one slide after the other, by hand or timed, with an
// optional cross-fade between the two viewer images.
function slideshow(name) {
    this.name = name;
    this.slides = [];
    this.playLabel = "";
    this.stopLabel = "";
    this.autoPlay = 0;
    this.timeout = 5000;
    this.fade = 0;
    this.repeat = true;
    this.random = false;
    this.firstslide = 0;
    this.current = -1;
    this.playing = false;
    this.timer = null;
    this.front = null;
    this.back = null;
    this.order = null;
}

// add_slide(number, fullSize, top, left, width, height)
slideshow.prototype.add_slide = function (number, fullSize, top, left, width, height) {
    this.slides.push({ number, fullSize: !!fullSize, y: top, x: left, w: width, h: height });
};

slideshow.prototype.init = function () {
    this.front = lqShow.byId("ssviewerA");
    this.back = lqShow.byId("ssviewerB");
    if (!this.front || !this.back || this.slides.length === 0) return;
    if (this.random) this.order = lqShow.shuffled(this.slides.length);
    lqShow.setLabel("ssplay", this.playLabel);
    let start = 0;
    // A page address "#n" opens the show at album photo n.
    const asked = parseInt(window.location.hash.replace("#", ""), 10);
    if (!isNaN(asked)) start = Math.max(0, asked - this.firstslide);
    this.show(Math.min(start, this.slides.length - 1), false);
    if (this.autoPlay) this.play();
};

slideshow.prototype.slideAt = function (index) {
    return this.slides[this.order ? this.order[index] : index];
};

slideshow.prototype.show = function (index, animate) {
    if (index < 0 || index >= this.slides.length) return;
    const previous = this.current >= 0 ? this.slideAt(this.current) : null;
    const slide = this.slideAt(index);
    this.current = index;
    const incoming = this.back;
    lqShow.place(incoming, slide, lqShow.picture(slide.number, slide.fullSize));
    incoming.style.zIndex = 2;
    this.front.style.zIndex = 1;
    if (animate && this.fade && previous) {
        incoming.style.transition = "none";
        incoming.style.opacity = "0";
        incoming.style.display = "block";
        // Let the browser take the start opacity before fading in.
        void incoming.offsetWidth;
        incoming.style.transition = "opacity 1s";
        incoming.style.opacity = "1";
        const outgoing = this.front;
        window.setTimeout(() => {
            if (this.back !== outgoing) outgoing.style.display = "none";
        }, 1000);
    } else {
        incoming.style.transition = "none";
        incoming.style.opacity = "1";
        incoming.style.display = "block";
        this.front.style.display = "none";
    }
    this.back = this.front;
    this.front = incoming;
    lqShow.showCaption(slide.number, previous ? previous.number : null);
};

slideshow.prototype.next = function () {
    if (this.slides.length === 0) return;
    this.stopTimer();
    this.advance();
    if (this.playing) this.startTimer();
};

// One step forward; at the end the show starts again unless repeat is off.
slideshow.prototype.advance = function () {
    let index = this.current + 1;
    if (index >= this.slides.length) {
        if (!this.repeat && this.playing) {
            this.stop();
            return;
        }
        index = 0;
    }
    this.show(index, true);
};

slideshow.prototype.previous = function () {
    if (this.slides.length === 0) return;
    this.stopTimer();
    const index = this.current <= 0 ? this.slides.length - 1 : this.current - 1;
    this.show(index, true);
    if (this.playing) this.startTimer();
};

// The target of album thumbnails: the slide of album photo `photo`.
slideshow.prototype.goto_slide = function (photo) {
    let index = Number(photo) - this.firstslide;
    if (this.order) index = this.order.indexOf(index);
    if (index < 0 || index >= this.slides.length) index = 0;
    this.stopTimer();
    this.show(index, true);
    if (this.playing) this.startTimer();
};

slideshow.prototype.play = function () {
    if (this.playing) {
        this.stop();
        return;
    }
    this.playing = true;
    lqShow.setLabel("ssplay", this.stopLabel);
    this.startTimer();
};

slideshow.prototype.stop = function () {
    this.playing = false;
    this.stopTimer();
    lqShow.setLabel("ssplay", this.playLabel);
};

slideshow.prototype.startTimer = function () {
    this.stopTimer();
    this.timer = window.setTimeout(() => {
        this.timer = null;
        this.advance();
        if (this.playing) this.startTimer();
    }, Math.max(100, Number(this.timeout) || 5000));
};

slideshow.prototype.stopTimer = function () {
    if (this.timer !== null) window.clearTimeout(this.timer);
    this.timer = null;
};

// A before/after comparison: each slide is a pair; the control (or, with
// rollovers, the mouse over the picture) switches between the two.
function beforeafter(name) {
    slideshow.call(this, name);
    this.beforeLabel = "Before";
    this.afterLabel = "After";
    this.rollovers = 0;
    this.showingAfter = false;
}
beforeafter.prototype = Object.create(slideshow.prototype);
beforeafter.prototype.constructor = beforeafter;

// add_slide(number, fullSize, top, left, width, height, number2, top2, left2, width2, height2)
beforeafter.prototype.add_slide = function (number, fullSize, top, left, width, height, number2, top2, left2, width2, height2) {
    this.slides.push({
        number,
        fullSize: !!fullSize,
        y: top,
        x: left,
        w: width,
        h: height,
        after: { number: number2, fullSize: !!fullSize, y: top2, x: left2, w: width2, h: height2 },
    });
};

beforeafter.prototype.init = function () {
    slideshow.prototype.init.call(this);
    lqShow.setLabel("ssbeforeafter", this.afterLabel);
    const rollover = lqShow.byId("ssrollover");
    if (this.rollovers && rollover && this.front) {
        // The clear picture lies over the viewers and catches the mouse.
        rollover.style.display = "block";
        rollover.style.zIndex = 3;
        rollover.addEventListener("mouseover", () => this.showAfter(true));
        rollover.addEventListener("mouseout", () => this.showAfter(false));
        this.placeRollover();
    }
};

beforeafter.prototype.placeRollover = function () {
    const rollover = lqShow.byId("ssrollover");
    const slide = this.current >= 0 ? this.slideAt(this.current) : null;
    if (!rollover || !slide) return;
    rollover.style.top = slide.y + "px";
    rollover.style.left = slide.x + "px";
    rollover.style.width = slide.w + "px";
    rollover.style.height = slide.h + "px";
};

beforeafter.prototype.show = function (index, animate) {
    this.showingAfter = false;
    slideshow.prototype.show.call(this, index, false);
    lqShow.setLabel("ssbeforeafter", this.afterLabel);
    this.placeRollover();
};

beforeafter.prototype.showAfter = function (after) {
    const slide = this.current >= 0 ? this.slideAt(this.current) : null;
    if (!slide || !this.front) return;
    this.showingAfter = after;
    const shown = after ? slide.after : slide;
    lqShow.place(this.front, shown, lqShow.picture(shown.number, shown.fullSize));
    lqShow.setLabel("ssbeforeafter", after ? this.beforeLabel : this.afterLabel);
};

beforeafter.prototype.beforeafter = function () {
    this.showAfter(!this.showingAfter);
};

// A before/after show is not timed.
beforeafter.prototype.play = function () {
    this.beforeafter();
};

// --- Image rollovers ---------------------------------------------------------------------

function rollOver(ident, normal, over) {
    this.ident = ident;
    this.normalImage = new Image();
    this.normalImage.src = normal;
    this.overImage = new Image();
    this.overImage.src = over;
}

rollOver.prototype.mouseOver = function () {
    const image = document.getElementById(this.ident);
    if (image) image.src = this.overImage.src;
};

rollOver.prototype.mouseOut = function () {
    const image = document.getElementById(this.ident);
    if (image) image.src = this.normalImage.src;
};

// --- Movies of Vorn Boxes ----------------------------------------------------------------

function lqFlag(value) {
    return String(value).toLowerCase() === "true";
}

// A movie file shown with the browser's own player.
function insertQuicktime(id, src, width, height, autoplay, controller, loop, hidden) {
    const holder = document.getElementById(id);
    if (!holder) return null;
    const video = document.createElement("video");
    video.src = src;
    video.width = parseInt(width, 10) || 0;
    video.height = parseInt(height, 10) || 0;
    video.autoplay = lqFlag(autoplay);
    if (video.autoplay) video.muted = true; // browsers start only muted videos by themselves
    video.controls = lqFlag(controller);
    video.loop = lqFlag(loop);
    video.preload = "metadata";
    if (lqFlag(hidden)) video.style.display = "none";
    const fallback = document.createElement("a");
    fallback.href = src;
    fallback.textContent = src;
    video.appendChild(fallback);
    holder.appendChild(video);
    return video;
}

// A Flash movie as an object element; a link to the file where no player runs it.
function insertFlash(id, src, width, height, loop, scale, bgcolor) {
    const holder = document.getElementById(id);
    if (!holder) return null;
    const movie = document.createElement("object");
    movie.type = "application/x-shockwave-flash";
    movie.data = src;
    movie.width = String(parseInt(width, 10) || 0);
    movie.height = String(parseInt(height, 10) || 0);
    const params = { movie: src, loop: lqFlag(loop) ? "true" : "false", quality: "high", bgcolor: String(bgcolor) };
    if (scale && scale !== "Default") params.scale = scale;
    for (const [name, value] of Object.entries(params)) {
        const param = document.createElement("param");
        param.name = name;
        param.value = value;
        movie.appendChild(param);
    }
    const fallback = document.createElement("a");
    fallback.href = src;
    fallback.textContent = src;
    movie.appendChild(fallback);
    holder.appendChild(movie);
    return movie;
}

// --- E-mail links ------------------------------------------------------------------------
//
// The address is written in letters so that it is not plain in the page:
// every character is a group of base-25 digits ("b" 0 to "z" 24) closed by
// "a".
function lqDecodeLink(text) {
    let result = "";
    let value = 0;
    let inGroup = false;
    for (const letter of String(text)) {
        if (letter === "a") {
            result += String.fromCharCode(value);
            value = 0;
            inGroup = false;
        } else {
            value = value * 25 + (letter.charCodeAt(0) - 98);
            inGroup = true;
        }
    }
    if (inGroup) result += String.fromCharCode(value);
    return result;
}

function clickLink(encoded) {
    const address = lqDecodeLink(encoded);
    // Only mail addresses are opened this way.
    if (address.toLowerCase().startsWith("mailto:")) window.location.href = address;
    return address;
}
